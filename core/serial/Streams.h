// Byte streams shared by the serialisation formatters, the tracers and the file helpers: an abstract
// stream with a position, a stream in memory and a stream over a file. Reads and writes that must be
// complete (ReadBuffer, WriteBuffer) raise EReadError / EWriteError when they are not.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"

enum class TSeekOrigin : int { soBeginning = 0, soCurrent = 1, soEnd = 2 };

class TStream {
 public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Writes up to count bytes; returns how many were written.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves the position; returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size() const = 0;
  virtual void SetSize(int64_t size) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t p) { Seek(p, TSeekOrigin::soBeginning); }
  // Bytes between the position and the end (0 when the position is past the end).
  int64_t Remaining() {
    int64_t r = Size() - Position();
    return r > 0 ? r : 0;
  }

  void ReadBuffer(void* buffer, int64_t count);         // EReadError when short
  void WriteBuffer(const void* buffer, int64_t count);  // EWriteError when short
  // Copies count bytes from source (all of it from its start when count is 0); returns the count.
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  void Clear() { data_.clear(); position_ = 0; }
  const uint8_t* Memory() const { return data_.data(); }
  uint8_t* Memory() { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::string AsString() const { return std::string(data_.begin(), data_.end()); }
  // Replaces the content with bytes and puts the position at the start.
  void Assign(const void* bytes, std::size_t count);

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

// File open modes (the low bits give the access, fmCreate creates or empties the file).
inline constexpr uint16_t fmOpenRead = 0x0000;
inline constexpr uint16_t fmOpenWrite = 0x0001;
inline constexpr uint16_t fmOpenReadWrite = 0x0002;
// No other opener that asks for a share mode may hold the file while this stream has it.
inline constexpr uint16_t fmShareExclusive = 0x0010;
inline constexpr uint16_t fmShareDenyNone = 0x0040;
inline constexpr uint16_t fmCreate = 0xFF00;

class TFileStream : public TStream {
 public:
  // Raises EFCreateError / EFOpenError (message names the file) when the file cannot be had, or when
  // fmShareExclusive is asked and another stream holds the file.
  TFileStream(const std::string& fileName, uint16_t mode);
  ~TFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override;
  void SetSize(int64_t size) override;
  const std::string& FileName() const { return fileName_; }

 private:
  void LockExclusive(uint16_t mode);

  std::string fileName_;
  int fd_ = -1;
};
