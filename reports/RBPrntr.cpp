#include "reports/RBPrntr.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/objects/Exceptions.h"
#include "core/values/DateTime.h"

// --- TRBStream -----------------------------------------------------------------------------------

TRBStream::TRBStream(int32_t MemoryLimit) : memoryPart_(std::make_unique<TMemoryStream>()), memoryLimit_(MemoryLimit) {}

TRBStream::TRBStream(const std::string& FileName)
    : filePart_(std::make_unique<TFileStream>(FileName, fmOpenRead | fmShareDenyNone)), buffered_(false) {}

TRBStream::~TRBStream() {
  filePart_.reset();
  memoryPart_.reset();
  if (!spillFileName_.empty()) ::unlink(spillFileName_.c_str());
}

TStream& TRBStream::Part() const {
  if (memoryPart_) return *memoryPart_;
  return *filePart_;
}

int64_t TRBStream::Read(void* buffer, int64_t count) {
  std::lock_guard verrou(guard_);
  return Part().Read(buffer, count);
}

int64_t TRBStream::Write(const void* buffer, int64_t count) {
  std::lock_guard verrou(guard_);
  const int64_t ecrits = Part().Write(buffer, count);
  if (memoryPart_ && memoryPart_->Size() > memoryLimit_) {
    // The data moves to a temporary file of its own (mode 0600), which goes with the stream.
    const char* dossier = std::getenv("TMPDIR");
    std::string modele = std::string(dossier && *dossier ? dossier : "/tmp") + "/RBPXXXXXX";
    const int fd = ::mkstemp(modele.data());
    if (fd < 0) throw EFCreateError("Cannot create a temporary file in " + modele.substr(0, modele.size() - 10));
    ::close(fd);
    spillFileName_ = modele;
    filePart_ = std::make_unique<TFileStream>(spillFileName_, fmOpenReadWrite);
    filePart_->WriteBuffer(memoryPart_->Memory(), memoryPart_->Size());
    memoryPart_.reset();
    buffered_ = false;
  }
  return ecrits;
}

int64_t TRBStream::Seek(int64_t offset, TSeekOrigin origin) {
  std::lock_guard verrou(guard_);
  return Part().Seek(offset, origin);
}

int64_t TRBStream::Size() const {
  std::lock_guard verrou(guard_);
  return Part().Size();
}

void TRBStream::SetSize(int64_t size) {
  std::lock_guard verrou(guard_);
  Part().SetSize(size);
}

void TRBStream::CopyTo(TStream& Destination) {
  std::lock_guard verrou(guard_);
  Seek(0, TSeekOrigin::soBeginning);
  std::vector<uint8_t> bloc(10240);
  for (;;) {
    const int64_t lus = Read(bloc.data(), static_cast<int64_t>(bloc.size()));
    if (lus <= 0) break;
    Destination.WriteBuffer(bloc.data(), lus);
  }
}

// --- TRBCompress ---------------------------------------------------------------------------------

TRBCompress::TRBCompress(TStream& Medium, bool Compressing)
    : bitIndex_(Compressing ? 0 : 7), compressing_(Compressing), medium_(Medium) {
  for (int i = 0; i < 256; ++i) {
    left_[i] = static_cast<uint16_t>(2 * i + 1);
    right_[i] = static_cast<uint16_t>(2 * i + 2);
  }
  up_[0] = 0;
  for (int j = 1; j <= 512; ++j) up_[j] = static_cast<uint8_t>((j - 1) / 2);
}

TRBCompress::~TRBCompress() {
  if (compressing_ && bitIndex_ != 0) {
    try {
      medium_.WriteBuffer(&pendingByte_, 1);
    } catch (...) {
      // A destructor cannot report a full disk; the caller's next write or the file's check does.
    }
  }
}

void TRBCompress::Splay(uint8_t c) {
  unsigned a = 256u + c;
  do {
    const unsigned p = up_[a];
    if (p == 0) {
      a = p;
    } else {
      const unsigned g = up_[p];
      unsigned b = left_[g];
      if (b == p) {
        b = right_[g];
        right_[g] = static_cast<uint16_t>(a);
      } else {
        left_[g] = static_cast<uint16_t>(a);
      }
      if (a == left_[p]) left_[p] = static_cast<uint16_t>(b);
      else right_[p] = static_cast<uint16_t>(b);
      up_[a] = static_cast<uint8_t>(g);
      up_[b] = static_cast<uint8_t>(p);
      a = g;
    }
  } while (a != 0);
}

void TRBCompress::PutByte(uint8_t Value) {
  // The path from the leaf up to the root; a leaf lies at most 256 levels deep.
  bool chemin[257];
  int n = 0;
  for (unsigned a = 256u + Value; a != 0; a = up_[a]) chemin[n++] = right_[up_[a]] == a;
  while (n > 0) {
    if (chemin[--n]) pendingByte_ |= static_cast<uint8_t>(1u << bitIndex_);
    if (bitIndex_ == 7) {
      medium_.WriteBuffer(&pendingByte_, 1);
      bitIndex_ = 0;
      pendingByte_ = 0;
    } else {
      ++bitIndex_;
    }
  }
  Splay(Value);
}

uint8_t TRBCompress::GetByte() {
  unsigned noeud = 0;
  while (noeud < 256) {
    if (bitIndex_ == 7) {
      medium_.ReadBuffer(&inputByte_, 1);
      bitIndex_ = 0;
    } else {
      ++bitIndex_;
    }
    noeud = (inputByte_ >> bitIndex_) & 1 ? right_[noeud] : left_[noeud];
  }
  const uint8_t c = static_cast<uint8_t>(noeud - 256);
  Splay(c);
  return c;
}

// --- TRBPageList ---------------------------------------------------------------------------------

namespace {

// A coded page holds at most this many bytes once expanded.
constexpr int64_t kMaxExpanded = 256LL * 1024 * 1024;

void EcrireInt32(TStream& S, int32_t v) {
  uint8_t o[4];
  for (int i = 0; i < 4; ++i) o[i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
  S.WriteBuffer(o, 4);
}

int32_t LireInt32(TStream& S) {
  uint8_t o[4];
  S.ReadBuffer(o, 4);
  return static_cast<int32_t>(o[0] | (o[1] << 8) | (o[2] << 16) | (static_cast<uint32_t>(o[3]) << 24));
}

int32_t VersInt32(int64_t v) {
  if (v > INT32_MAX) throw EWriteError("The page file is larger than its positions can hold");
  return static_cast<int32_t>(v);
}

[[noreturn]] void Brise(int32_t N) { throw EReadError("Page " + std::to_string(N) + " of the page file cannot be read"); }

}  // namespace

void TRBPageList::SetStore(std::unique_ptr<TRBStream> Store) {
  std::lock_guard verrou(guard_);
  store_ = std::move(Store);
}

int32_t TRBPageList::ReadInt32At(int64_t Position) {
  store_->Seek(Position, TSeekOrigin::soBeginning);
  return LireInt32(*store_);
}

void TRBPageList::WriteHeader() {
  std::lock_guard verrou(guard_);
  uint8_t entete[kHeaderSize] = {};
  entete[0] = 3;
  entete[2] = 40;
  std::memcpy(entete + 8, &pagesStored_, 4);
  const double date = DateTime::Now();
  std::memcpy(entete + 16, &date, 8);
  entete[25] = Compressed ? 1 : 0;
  store_->Seek(0, TSeekOrigin::soBeginning);
  store_->WriteBuffer(entete, kHeaderSize);
  headerSize_ = kHeaderSize;
}

int32_t TRBPageList::DetectHeaderSize() {
  const int64_t taille = store_->Size();
  // The size at which page 1 stands and whose record closes with a start field equal to it.
  auto chaine = [&](int32_t h) {
    if (taille < h + 12) return false;
    if (ReadInt32At(h) != 1) return false;
    const int32_t suivant = ReadInt32At(h + 4);
    return suivant >= h + 12 && suivant <= taille && ReadInt32At(suivant - 4) == h;
  };
  const bool ancien = chaine(kOldHeaderSize), actuel = chaine(kHeaderSize);
  if (ancien != actuel) return ancien ? kOldHeaderSize : kHeaderSize;
  // Neither or both: the first page's metafile signature decides.
  auto signature = [&](int64_t p) {
    if (taille < p + 4) return false;
    char o[5] = {};
    store_->Seek(p, TSeekOrigin::soBeginning);
    store_->ReadBuffer(o, 4);
    return std::strcmp(o, "EMF") == 0;
  };
  return signature(173) ? kOldHeaderSize : kHeaderSize;
}

void TRBPageList::ReadHeader() {
  std::lock_guard verrou(guard_);
  const int64_t taille = store_->Size();
  if (taille < kOldHeaderSize) throw EReadError("The page file has no header");
  headerSize_ = DetectHeaderSize();
  if (taille < headerSize_) throw EReadError("The page file has no header");
  uint8_t entete[kHeaderSize];
  store_->Seek(0, TSeekOrigin::soBeginning);
  store_->ReadBuffer(entete, headerSize_);
  int32_t pages;
  std::memcpy(&pages, entete + 8, 4);
  // Each page takes at least its 12 bytes of links.
  if (pages < 0 || pages > (taille - headerSize_) / 12) throw EReadError("The page file's page count exceeds its size");
  pagesStored_ = pages;
  Compressed = entete[headerSize_ == kHeaderSize ? 25 : 21] != 0;
}

void TRBPageList::AddPage(const TMetafile& Page) {
  std::lock_guard verrou(guard_);
  if (++pagesStored_ == 1) WriteHeader();
  const int64_t s = store_->Seek(0, TSeekOrigin::soEnd);
  EcrireInt32(*store_, pagesStored_);
  const int64_t f = store_->Position();
  EcrireInt32(*store_, VersInt32(f));
  if (!Compressed) {
    Page.SaveToStream(*store_);
  } else {
    const std::vector<uint8_t>& octets = Page.Octets();
    EcrireInt32(*store_, VersInt32(static_cast<int64_t>(octets.size())));
    TRBCompress codeur(*store_, true);
    for (uint8_t o : octets) codeur.PutByte(o);
  }
  EcrireInt32(*store_, VersInt32(s));
  const int64_t e = store_->Position();
  store_->Seek(f, TSeekOrigin::soBeginning);
  EcrireInt32(*store_, VersInt32(e));
  store_->Seek(e, TSeekOrigin::soBeginning);
}

void TRBPageList::SeekToPage(int32_t N) {
  std::lock_guard verrou(guard_);
  const int64_t taille = store_->Size();
  if (N < 1 || N > pagesStored_) Brise(N);
  // A record starts between the header's end and the last 12 bytes of the file.
  auto debutValide = [&](int64_t p) { return p >= headerSize_ && p <= taille - 12; };
  int64_t p;
  if (N == 1) {
    p = headerSize_;
  } else {
    p = store_->Position();
    if (p >= taille) p = ReadInt32At(taille - 4);
  }
  if (!debutValide(p)) Brise(N);
  int32_t numero = ReadInt32At(p);
  if (numero < 1 || numero > pagesStored_) Brise(N);
  for (int32_t sauts = 0; numero != N; ++sauts) {
    if (sauts >= pagesStored_) Brise(N);
    int64_t q;
    if (numero < N) {
      q = ReadInt32At(p + 4);
      if (q < p + 12 || !debutValide(q)) Brise(N);
    } else {
      q = ReadInt32At(p - 4);
      if (q > p - 12 || !debutValide(q)) Brise(N);
    }
    const int32_t suivant = ReadInt32At(q);
    if (suivant != (numero < N ? numero + 1 : numero - 1)) Brise(N);
    numero = suivant;
    p = q;
  }
  store_->Seek(p, TSeekOrigin::soBeginning);
}

std::unique_ptr<TMetafile> TRBPageList::GetPage(int32_t N) {
  std::lock_guard verrou(guard_);
  if (N < 1 || N > pagesStored_ || !store_) return nullptr;
  SeekToPage(N);
  const int64_t debut = store_->Position();
  const int64_t taille = store_->Size();
  if (LireInt32(*store_) != N) Brise(N);
  const int64_t suivant = LireInt32(*store_);
  if (suivant < debut + 12 || suivant > taille) Brise(N);
  // The page's data lies between the links, and nowhere else.
  std::vector<uint8_t> donnees(static_cast<std::size_t>(suivant - 4 - (debut + 8)));
  store_->ReadBuffer(donnees.data(), static_cast<int64_t>(donnees.size()));
  if (LireInt32(*store_) != debut) Brise(N);
  std::unique_ptr<TMetafile> page;
  try {
    if (!Compressed) {
      page = TMetafile::LoadFromBytes(donnees.data(), donnees.size());
    } else {
      if (donnees.size() < 4) Brise(N);
      int32_t compte;
      std::memcpy(&compte, donnees.data(), 4);
      const int64_t codes = static_cast<int64_t>(donnees.size()) - 4;
      if (compte < 0 || compte > 8 * codes || compte > kMaxExpanded) Brise(N);
      TMemoryStream source;
      source.Write(donnees.data() + 4, codes);
      source.SetPosition(0);
      std::vector<uint8_t> octets(static_cast<std::size_t>(compte));
      {
        TRBCompress codeur(source, false);
        for (uint8_t& o : octets) o = codeur.GetByte();
      }
      if (source.Position() != codes) Brise(N);
      page = TMetafile::LoadFromBytes(octets.data(), octets.size());
      donnees = std::move(octets);
    }
  } catch (const EReadError&) {
    Brise(N);
  }
  if (page->Octets().size() != donnees.size()) Brise(N);
  return page;
}

void TRBPageList::LoadFromFile(const std::string& Name) {
  std::lock_guard verrou(guard_);
  store_.reset();
  pagesStored_ = 0;
  store_ = std::make_unique<TRBStream>(Name);
  ReadHeader();
  // Reading the last page walks and checks the whole chain.
  if (pagesStored_ > 0) (void)GetPage(pagesStored_);
}

void TRBPageList::SaveToFile(const std::string& Name) {
  std::lock_guard verrou(guard_);
  const std::filesystem::path cible(Name);
  std::string modele = (cible.parent_path().empty() ? std::string(".") : cible.parent_path().string()) + "/." +
                       cible.filename().string() + ".XXXXXX";
  const int fd = ::mkstemp(modele.data());
  if (fd < 0) throw EFCreateError("Cannot create " + Name);
  bool fait = false;
  try {
    {
      ::close(fd);
      TFileStream fichier(modele, fmOpenWrite);
      if (store_) store_->CopyTo(fichier);
    }
    const int f = ::open(modele.c_str(), O_RDONLY);
    const bool synchro = f >= 0 && ::fsync(f) == 0;
    if (f >= 0) ::close(f);
    if (!synchro) throw EWriteError("Cannot write " + Name);
    ::chmod(modele.c_str(), 0644);
    if (::rename(modele.c_str(), Name.c_str()) != 0) throw EFCreateError("Cannot create " + Name);
    fait = true;
  } catch (...) {
    if (!fait) ::unlink(modele.c_str());
    throw;
  }
}
