#include "core/serial/Streams.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  char chunk[65536];
  int64_t left = count;
  while (left > 0) {
    int64_t n = std::min<int64_t>(left, sizeof chunk);
    source.ReadBuffer(chunk, n);
    WriteBuffer(chunk, n);
    left -= n;
  }
  return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= Size()) return 0;
  int64_t n = std::min(count, Size() - position_);
  std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
  position_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end = position_ + count;
  if (end > Size()) data_.resize(static_cast<std::size_t>(end));
  std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? position_ : Size();
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<std::size_t>(std::max<int64_t>(0, size)));
  if (position_ > Size()) position_ = Size();
}

void TMemoryStream::Assign(const void* bytes, std::size_t count) {
  const auto* p = static_cast<const uint8_t*>(bytes);
  data_.assign(p, p + count);
  position_ = 0;
}

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : fileName_(fileName) {
  if (mode == fmCreate || (mode & 0xFF00) == fmCreate) {
    fd_ = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
    LockExclusive(mode);
    return;
  }
  int flags = O_CLOEXEC;
  switch (mode & 0x3) {
    case fmOpenWrite: flags |= O_WRONLY; break;
    case fmOpenReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
  }
  fd_ = ::open(fileName.c_str(), flags);
  if (fd_ < 0) throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
  LockExclusive(mode);
}

// The exclusive share mode is an advisory lock on the open file, held until the stream closes.
void TFileStream::LockExclusive(uint16_t mode) {
  if ((mode & 0x00F0) != fmShareExclusive) return;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
  ::close(fd_);
  fd_ = -1;
  throw EFOpenError("Cannot open file \"" + fileName_ + "\". It is in use by another stream");
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) ::close(fd_);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::read(fd_, static_cast<char*>(buffer) + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::write(fd_, static_cast<const char*>(buffer) + done, static_cast<std::size_t>(count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
  return r < 0 ? -1 : static_cast<int64_t>(r);
}

int64_t TFileStream::Size() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return 0;
  return static_cast<int64_t>(st.st_size);
}

void TFileStream::SetSize(int64_t size) {
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) throw EWriteError("Cannot resize file \"" + fileName_ + "\"");
}
