// The runtime's file services as the program uses them on Linux and on Windows: path names built
// from a folder and a file name (drive letters, backslashes, the folder form Qt reports), UTF-8
// names, new files that never empty another one, the atomic replacement, and the numbers read
// from text files whatever their line ends.

#include "runtime/files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>

#include "runtime/output_file.h"
#include "support/this_process.h"

namespace qrix::files {
namespace {

namespace fs = std::filesystem;
using qrix::testing::uniqueName;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Files : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename().string());
    return out;
  }
  fs::path dir = fs::temp_directory_path() / uniqueName("qrix-files");
};

TEST(MakePathname, JoinsFolderAndNameInTheSystemsOwnForm) {
  struct Case {
    const char* directory;
    const char* name;
    const char* path;
  };
  const Case cases[] = {
      {"", "RECORD.DAT", "RECORD.DAT"},
#ifdef _WIN32
      {"C:\\Program Files\\qrix", "qrix-logo.bmp", "C:\\Program Files\\qrix\\qrix-logo.bmp"},
      {"D:\\data\\", "QRIXpara.cfg", "D:\\data\\QRIXpara.cfg"},
      // The program's folder as Qt reports it, with forward slashes.
      {"C:/Program Files/qrix", "RECORD.DAT", "C:\\Program Files\\qrix\\RECORD.DAT"},
      {"\\\\server\\share\\line 4", "XF-LINEAR.DAT", "\\\\server\\share\\line 4\\XF-LINEAR.DAT"},
      {".", "tv.bmp", ".\\tv.bmp"},
      {"C:\\qrix", "E:\\other\\run.dat", "E:\\other\\run.dat"},
#else
      {"/opt/qrix/bin", "qrix-logo.bmp", "/opt/qrix/bin/qrix-logo.bmp"},
      {"/home/op/data/", "QRIXpara.cfg", "/home/op/data/QRIXpara.cfg"},
      {".", "tv.bmp", "./tv.bmp"},
      {"/opt/qrix", "/var/run.dat", "/var/run.dat"},
#endif
  };
  for (const Case& c : cases) EXPECT_EQ(MakePathname(c.directory, c.name), c.path) << c.directory;
}

TEST_F(Files, NewFileRefusesATakenNameLeavesItsContentAndWritesBytesAsTheyAre) {
  const std::string taken = (dir / "taken.tmp").string();
  std::ofstream(taken, std::ios::binary) << "someone else's";
  errno = 0;
  EXPECT_EQ(createNewFile(taken), nullptr);
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(readBytes(taken), "someone else's");

  const std::string fresh = (dir / "fresh.tmp").string();
  std::FILE* f = createNewFile(fresh);
  ASSERT_NE(f, nullptr);
  std::fputs("1\r\n2\n", f);
  std::fclose(f);
  EXPECT_EQ(readBytes(fresh), "1\r\n2\n");  // no CR added on Windows, none dropped
}

TEST_F(Files, AtomicWriteReplacesTheFileAndLeavesNothingElseBehind) {
  const fs::path target = dir / "para.cfg";
  std::ofstream(target, std::ios::binary) << "old";
  ASSERT_TRUE(writeFileAtomically(target.string(), "         1\r\n"));
  EXPECT_EQ(readBytes(target), "         1\r\n");
  EXPECT_EQ(names(), (std::set<std::string>{"para.cfg"}));
  // A folder in the file's place is not replaced, and no temporary file stays.
  fs::create_directory(dir / "folder.cfg");
  EXPECT_FALSE(writeFileAtomically((dir / "folder.cfg").string(), "x"));
  EXPECT_EQ(names(), (std::set<std::string>{"para.cfg", "folder.cfg"}));
}

// A name with letters outside ASCII, as the dialogs hand it over (UTF-8), names the same file
// for every service, and the file carries that name on the disk.
TEST_F(Files, UnicodeNamesReachTheDiskAsTheyAreSpelt) {
  const std::string name = "M\xC3\xBCller-\xE6\xB8\xAC\xE5\xAE\x9A.cfg";  // Müller-測定.cfg
  const std::string path = MakePathname(dir.string(), name);
  ASSERT_TRUE(writeFileAtomically(path, "7\r\n"));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(readIntegers(path, 1), (std::vector<std::int64_t>{7}));
  const fs::path onDisk = dir / fs::path(std::u8string(name.begin(), name.end()));
  EXPECT_EQ(readBytes(onDisk), "7\r\n");
  EXPECT_EQ(DeleteFile(path), 0);
  EXPECT_FALSE(fs::exists(onDisk));
}

// Numbers come through whatever line ends a file has: CR LF, LF, CR alone, or the CR CR LF of
// a text-mode writer on Windows that was handed CR LF.
TEST_F(Files, NumbersAreReadWhateverTheLineEnds) {
  for (const char* end : {"\r\n", "\n", "\r", "\r\r\n", "\t"}) {
    const fs::path file = dir / "numbers.txt";
    std::ofstream(file, std::ios::binary) << "  12" << end << "-3" << end << "+45" << end;
    EXPECT_EQ(readIntegers(file.string(), 3), (std::vector<std::int64_t>{12, -3, 45}))
        << ::testing::PrintToString(end);
  }
}

}  // namespace
}  // namespace qrix::files
