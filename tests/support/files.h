#pragma once
// What the tests need around files: a fresh folder per test, the bytes of a file (the
// one way the tests read and write them), and the platform's ways to make a file
// read-only, hidden or held open by another opener (files_win.cpp / files_posix.cpp).

#include <cstdint>
#include <string>
#include <string_view>

#include "system/sequential_files.h"

namespace kobrant::test {

// The line end the program's files have on this system: CR LF on Windows, LF on Linux.
std::string Eol();
// Whether an output file replaces the old one whole at its close (Linux) rather than
// being written in place from its open (Windows).
bool OutputReplacesFile();
// What joins a folder and a name: "\\" on Windows, "/" on Linux.
std::string FolderSeparator();

// A fresh folder under the system's temp folder, removed with everything in it.
class TestDirectory {
public:
    TestDirectory();
    ~TestDirectory();
    TestDirectory(const TestDirectory&) = delete;
    TestDirectory& operator=(const TestDirectory&) = delete;

    // The name of an entry as the program builds it (FileInFolder): folder + "\" + name
    // on Windows, folder + "/" + name on Linux.
    std::string File(std::string_view name) const { return FileInFolder(path_, name); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Reads and writes whole files by their names as they are. ReadBytes of a file that
// can't be read: "<missing>". WriteBytes makes or empties the file; false when that
// failed.
std::string ReadBytes(const std::string& name);
bool WriteBytes(const std::string& name, std::string_view bytes);
// The size as the folder reports it: readable while the file layer holds the file.
std::uintmax_t FileSize(const std::string& name);
void MakeDirectory(const std::string& name);
// The temporary files of the file layer's replacements (".<name>.<...>.tmp") that stand in
// the folder: none once every output file is closed.
std::size_t TemporaryFilesIn(const std::string& folder);

// Makes an existing file refuse writing and deleting for as long as it lives.
// Windows: the read-only attribute. Linux: the immutable flag when running as root
// (root ignores file modes), the mode otherwise. made() is false, with why(), when the
// system would not do it.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string name);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    bool made() const { return made_; }
    const std::string& why() const { return why_; }

private:
    std::string name_;
    bool made_ = false;
    std::string why_;
};

// Creates a hidden file in the folder and returns its name. Windows: the hidden
// attribute; Linux: a name beginning with ".".
std::string MakeHiddenFile(const TestDirectory& directory, std::string_view bytes);

// Holds a file open the way another program would, without using the file layer
// (Windows: CreateFileA sharing read and write; Linux: open plus an exclusive flock).
class OtherOpener {
public:
    explicit OtherOpener(const std::string& name);
    ~OtherOpener();
    OtherOpener(const OtherOpener&) = delete;
    OtherOpener& operator=(const OtherOpener&) = delete;
    bool holds() const { return handle_ != -1; }

private:
    long long handle_ = -1;
};

// Linux: a link at `name` to `target`, owned by a user other than the one running.
// Only root can give a link away: false (the link not made) for anyone else, and on
// Windows.
bool MakeForeignLink(const std::string& target, const std::string& name);

bool RunningUnderWine();
// Under Wine: whether the Unix user is root (Wine names the Windows user after it).
bool RunningAsUnixRoot();

}  // namespace kobrant::test
