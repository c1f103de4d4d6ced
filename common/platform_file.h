// The platform layer: the few file operations the runtime needs, with every refusal turned into
// the error number the programs report (the numbers of the console system they were written for).
#pragma once

#include <cstddef>

namespace runtime {

// What a created output file is, which decides when its buffer reaches the file.
enum class FileKind { Disk, CharacterDevice, Pipe, Unknown };

// The operation that met an error number: ENOENT means a missing file when opening the input but a
// missing directory when creating the output (creating never fails for a missing file).
enum class FileAction { OpenInput, CreateOutput, Read, Write, Close };

// Error numbers reported for refused file operations.
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int TooManyOpenFiles = 4;
constexpr int AccessDenied = 5;
constexpr int InvalidHandle = 6;
constexpr int NotEnoughMemory = 8;
constexpr int GeneralFailure = 31;
constexpr int SharingViolation = 32;
constexpr int DiskFull = 112;
constexpr int FilenameTooLong = 206;
constexpr int FileTooLarge = 223;
constexpr int IoDeviceError = 1117;
constexpr int CantResolveFilename = 1921;
// Not a refusal of the system but of the runtime: the output is of a kind it cannot classify.
constexpr int InvalidFileKind = 105;

int ErrorNumberFor(int errnoValue, FileAction action);

// Each returns 0 on success or the error number of the refusal.
int OpenForReading(const char* name, int& fd);
int CreateForWriting(const char* name, int& fd, FileKind& kind);
// bytesRead is 0 at the end of the file.
int ReadBlock(int fd, unsigned char* buffer, std::size_t capacity, std::size_t& bytesRead);
// Writes all count bytes, however many calls it takes.
int WriteAll(int fd, const unsigned char* bytes, std::size_t count);
int CloseFile(int fd);

}  // namespace runtime
