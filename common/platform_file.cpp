#include "common/platform_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace runtime {

int ErrorNumberFor(int errnoValue, FileAction action) {
  switch (errnoValue) {
    case ENOENT: return action == FileAction::OpenInput ? FileNotFound : PathNotFound;
    case ENOTDIR: return PathNotFound;
    case EMFILE:
    case ENFILE: return TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return AccessDenied;
    case EBADF: return InvalidHandle;
    case ENOMEM: return NotEnoughMemory;
    case ETXTBSY:
    case EBUSY: return SharingViolation;
    case ENOSPC:
    case EDQUOT: return DiskFull;
    case EFBIG: return FileTooLarge;
    case ENAMETOOLONG: return FilenameTooLong;
    case EIO: return IoDeviceError;
    case ELOOP: return CantResolveFilename;
    default: return GeneralFailure;
  }
}

namespace {

int OpenRetrying(const char* name, int flags, mode_t mode) {
  int fd;
  do {
    fd = ::open(name, flags, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

FileKind KindOf(const struct stat& status) {
  if (S_ISREG(status.st_mode) || S_ISBLK(status.st_mode)) return FileKind::Disk;
  if (S_ISCHR(status.st_mode)) return FileKind::CharacterDevice;
  if (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode)) return FileKind::Pipe;
  return FileKind::Unknown;
}

}  // namespace

int OpenForReading(const char* name, int& fd) {
  fd = OpenRetrying(name, O_RDONLY | O_NOCTTY | O_CLOEXEC, 0);
  if (fd < 0) return ErrorNumberFor(errno, FileAction::OpenInput);
  struct stat status;
  if (::fstat(fd, &status) != 0) {
    const int error = ErrorNumberFor(errno, FileAction::OpenInput);
    ::close(fd);
    fd = -1;
    return error;
  }
  // A directory opens here for reading, but it is no file to read text from.
  if (S_ISDIR(status.st_mode)) {
    ::close(fd);
    fd = -1;
    return AccessDenied;
  }
  return 0;
}

int CreateForWriting(const char* name, int& fd, FileKind& kind) {
  fd = OpenRetrying(name, O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return ErrorNumberFor(errno, FileAction::CreateOutput);
  struct stat status;
  if (::fstat(fd, &status) != 0) {
    kind = FileKind::Unknown;
    return 0;
  }
  kind = KindOf(status);
  return 0;
}

int ReadBlock(int fd, unsigned char* buffer, std::size_t capacity, std::size_t& bytesRead) {
  ssize_t got;
  do {
    got = ::read(fd, buffer, capacity);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    bytesRead = 0;
    // A reader whose writer went away has simply reached the end of the data.
    return errno == EPIPE ? 0 : ErrorNumberFor(errno, FileAction::Read);
  }
  bytesRead = static_cast<std::size_t>(got);
  return 0;
}

int WriteAll(int fd, const unsigned char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t put = ::write(fd, bytes, count);
    if (put < 0) {
      if (errno == EINTR) continue;
      return ErrorNumberFor(errno, FileAction::Write);
    }
    bytes += put;
    count -= static_cast<std::size_t>(put);
  }
  return 0;
}

int CloseFile(int fd) {
  // A close interrupted by a signal has still released the descriptor on Linux: never retry it.
  if (::close(fd) != 0 && errno != EINTR) return ErrorNumberFor(errno, FileAction::Close);
  return 0;
}

}  // namespace runtime
