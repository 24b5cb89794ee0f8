// The pages of a report run: the spill-over stream that holds them (in memory while small, in a
// temporary file beyond a limit), the adaptive bit coder that may pack their data, the page list
// with its file format, and the outline that travels with it.
//
// Page file: a 128-byte header (3, 40, the page count at 8, the date at 16, the coding flag at 25),
// then one record per page: page number, position of the next record, the page's metafile (or, coded,
// its byte count and the coded bytes), position of the record's own start. The records form a chain
// in both directions; a reader walks it within the file only and raises the stream read error for
// any link that does not lead strictly forward or backward to the next or previous page number.
// An older 124-byte header (date at 12, coding flag at 21) is read as well.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/serial/Streams.h"
#include "platform/gui/Graphiques.h"
#include "platform/gui/Metafichier.h"

using Metafichier::TMetafile;

// The store of a run's pages. Created in memory with a memory limit, or over an existing file opened
// for reading (a loaded page file, never deleted). Every read, write and seek runs under the stream's
// lock, so that a preview may fetch pages while a run adds them.
class TRBStream : public TStream {
 public:
  explicit TRBStream(int32_t MemoryLimit);
  explicit TRBStream(const std::string& FileName);
  ~TRBStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() const override;
  void SetSize(int64_t size) override;

  // Copies everything from position 0 to Destination, in blocks of 10240 bytes.
  void CopyTo(TStream& Destination);
  // The temporary file the data moved to, or empty while it is in memory.
  const std::string& SpillFileName() const { return spillFileName_; }
  bool Buffered() const { return buffered_; }

 private:
  TStream& Part() const;
  mutable std::recursive_mutex guard_;
  std::unique_ptr<TMemoryStream> memoryPart_;
  std::string spillFileName_;
  std::unique_ptr<TFileStream> filePart_;
  bool buffered_ = true;
  int32_t memoryLimit_ = 250000;
};

// The adaptive splay-tree bit coder of page data, bound to one stream in one direction. Compressing,
// each byte is written as its path in the tree (lowest bit first within each output byte); the last
// partial byte is written when the coder is freed. Expanding reads exactly the bytes the compressing
// side wrote for the same count of bytes.
class TRBCompress {
 public:
  TRBCompress(TStream& Medium, bool Compressing);
  ~TRBCompress();
  TRBCompress(const TRBCompress&) = delete;
  TRBCompress& operator=(const TRBCompress&) = delete;

  void PutByte(uint8_t Value);
  // EReadError when the coded bytes end first.
  uint8_t GetByte();

 private:
  void Splay(uint8_t c);
  uint8_t bitIndex_;
  bool compressing_;
  uint8_t inputByte_ = 0;
  uint16_t left_[256];
  uint16_t right_[256];
  uint8_t pendingByte_ = 0;
  TStream& medium_;
  uint8_t up_[513];
};

// The outline of a run. No part of the library adds entries, so it stays empty; it is kept so that a
// page list carries one as the file's reader and writer expect.
struct TRBOutlineEntry {
  std::string Caption;
  int32_t Level = 0;
  int32_t Page = 0;
  TRect Area;
};
class TRBOutline {
 public:
  std::vector<TRBOutlineEntry> Entries;
};

// The page sequence of a run and its file. Every page operation runs under the list's lock.
class TRBPageList {
 public:
  static constexpr int32_t kHeaderSize = 128;
  static constexpr int32_t kOldHeaderSize = 124;

  TRBPageList() = default;
  TRBPageList(const TRBPageList&) = delete;
  TRBPageList& operator=(const TRBPageList&) = delete;

  bool Compressed = false;
  int32_t PagesStored() const { return pagesStored_; }
  TRBStream* Store() const { return store_.get(); }
  // Attaches a store (the list owns it); the previous one is freed.
  void SetStore(std::unique_ptr<TRBStream> Store);
  // Frees the attached store.
  void FreeStore() { store_.reset(); }
  TRBOutline& PageOutline() { return outline_; }

  void AddPage(const TMetafile& Page);
  // The page N (1-based); none for N outside 1..PagesStored. The caller owns it. A broken page file
  // raises EReadError.
  std::unique_ptr<TMetafile> GetPage(int32_t N);
  void SeekToPage(int32_t N);
  void WriteHeader();
  void ReadHeader();
  void LoadFromFile(const std::string& Name);
  // Writes the whole store to a temporary file beside Name, flushes it and renames it over Name.
  void SaveToFile(const std::string& Name);
  void Clear() { pagesStored_ = 0; }
  // The size of the header of the file in the store (128, or 124 for an older file).
  int32_t HeaderSize() const { return headerSize_; }

 private:
  int32_t DetectHeaderSize();
  int32_t ReadInt32At(int64_t Position);
  std::recursive_mutex guard_;
  int32_t pagesStored_ = 0;
  int32_t headerSize_ = kHeaderSize;
  std::unique_ptr<TRBStream> store_;
  TRBOutline outline_;
};
