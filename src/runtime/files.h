#pragma once
// File and text services of the runtime: paths, numeric text files, date and time texts.

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qrix::files {

// Paths travel through the program as UTF-8 text, as the dialogs and the command line give them.
// The path of such a text for the system's file functions: on Windows its UTF-16 form, since
// the narrow functions there would read the text in the ANSI code page and miss the file.
std::filesystem::path pathOf(const std::string& utf8);
// fopen for a UTF-8 path.
std::FILE* openFile(const std::string& path, const char* mode);

// The folder and the name joined with the system's separator (backslashes on Windows, also in
// a folder given with forward slashes as Qt reports it); a name with its own root stays as is.
std::string MakePathname(const std::string& directory, const std::string& fileName);
bool FileExists(const std::string& path);
// 0 on success, negative when the file could not be deleted.
int DeleteFile(const std::string& path);

// Reads the first `count` whitespace-separated integers of a text file. Fails (nullopt) when the
// file cannot be read, holds fewer numbers, or a token before the last wanted one is not an
// integer; text after the last wanted number is ignored.
std::optional<std::vector<std::int64_t>> readIntegers(const std::string& path, std::size_t count);

// Opens a file that does not exist yet for writing bytes as they are (no CR LF translation);
// null, with errno EEXIST, when the name is taken: nothing of another file is ever emptied.
std::FILE* createNewFile(const std::string& path);

// Puts /dev/null on a standard stream (stdin, stdout, stderr) the program was started without,
// so that the next file it opens (a serial port) cannot take its place and receive what was
// meant for it. True when stdout was closed: its output would go nowhere.
bool plugClosedStandardStreams();

// Flushes stdout before a program ends. A result that did not reach its place (a
// full disk, a closed stdout, a file-size limit) is a failure: the reason goes to stderr,
// after `program`'s name, and the status becomes 1 when it was 0.
int finishStdout(const char* program, int status);

// "MM-DD-YYYY" and "HH:MM:SS" of a calendar time, in local time.
std::string DateStr(std::time_t when);
std::string TimeStr(std::time_t when);

}  // namespace qrix::files
