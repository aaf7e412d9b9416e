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
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

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
    for (const auto& e : fs::directory_iterator(dir)) {
      out.insert(e.path().filename().string());
    }
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
  for (const Case& c : cases) {
    EXPECT_EQ(MakePathname(c.directory, c.name), c.path) << c.directory;
  }
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

#ifndef _WIN32
// The window's saves (parameter file, export, link log) go through the same write: a symlink
// stays and its file is replaced, a file keeps its mode, a fifo is written through and not
// renamed over, and a name at the system's limit still gets its temporary file.
TEST_F(Files, AtomicWriteReplacesOnlyTheFileNamed) {
  const fs::path real = dir / "real.cfg";
  std::ofstream(real) << "old";
  fs::create_symlink("real.cfg", dir / "link.cfg");
  std::string reason;
  ASSERT_TRUE(writeFileAtomically((dir / "link.cfg").string(), "new", &reason)) << reason;
  EXPECT_TRUE(fs::is_symlink(dir / "link.cfg"));
  EXPECT_EQ(readBytes(real), "new");

  fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(writeFileAtomically(real.string(), "newer"));
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = readBytes(fifo); });
  EXPECT_TRUE(writeFileAtomically(fifo.string(), "through"));
  reader.join();
  EXPECT_EQ(received, "through");
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);

  const fs::path longest = dir / std::string(255, 'x');
  EXPECT_TRUE(writeFileAtomically(longest.string(), "long"));
  EXPECT_EQ(readBytes(longest), "long");
  EXPECT_EQ(nameBeside(longest.string(), ".part"),
            (dir / (std::string(250, 'x') + ".part")).string());
  // A name is cut before a whole character, never inside one.
  const std::string umlauts = std::string(248, 'x') + "\xC3\xBC\xC3\xBC\xC3\xBC";  // xx...üüü
  EXPECT_EQ(nameBeside((dir / umlauts).string(), ".part"),
            (dir / (std::string(248, 'x') + "\xC3\xBC.part")).string());

  EXPECT_FALSE(writeFileAtomically((dir / "missing" / "x.cfg").string(), "x", &reason));
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_EQ(checkOutputFile((dir / "missing" / "x.cfg").string()), "No such file or directory");
  EXPECT_EQ(checkOutputFile(dir.string()), "Is a directory");
  EXPECT_EQ(checkOutputFile((dir / "new.cfg").string()), "");
  EXPECT_EQ(names(),
            (std::set<std::string>{"real.cfg", "link.cfg", "fifo", std::string(255, 'x')}));
}
#endif

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
