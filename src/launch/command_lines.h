#pragma once
// The command lines of the programs and batch files the program starts,
// built in one place. Every path is quoted: Windows starts a batch file as
// `cmd /c "<command line>"`, and real cmd.exe keeps the outer quotes of that
// only when they are the text's only two and enclose none of & < > ( ) @ ^ |;
// otherwise it strips them. A command line whose own paths are quoted holds
// more than two quotes, so cmd.exe strips exactly the pair Windows added and
// every path stays whole (C:\Program Files (x86)\..., C:\a&b (c)\...).
#include <string>
#include <string_view>
#include <vector>

namespace fernwick::launch {

// `path` in double quotes. A trailing backslash is doubled, so that the
// program's runtime does not read the closing quote as a literal one.
std::string Quoted(std::string_view path);

// `folder` (with or without its trailing backslash) and `name`, joined.
std::string PathIn(std::string_view folder, std::string_view name);

// A batch file in `folder` (si.bat, ipconfigdump.bat, media.bat), each
// argument a path, all quoted.
std::string BatchCommandLine(std::string_view folder, std::string_view batchFile,
                             const std::vector<std::string>& pathArguments = {});

// A program in `folder` (dumpel, Tabulex, cabmaker): its quoted path, then
// `options` as given (their paths quoted by the caller with Quoted).
std::string ProgramCommandLine(std::string_view folder, std::string_view program, std::string_view options);

}  // namespace fernwick::launch
