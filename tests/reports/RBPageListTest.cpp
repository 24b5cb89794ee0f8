#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/values/DateTime.h"
#include "reports/RBPrntr.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> Coder(const std::vector<uint8_t>& Octets) {
  TMemoryStream s;
  {
    TRBCompress c(s, true);
    for (uint8_t o : Octets) c.PutByte(o);
  }
  return s.Bytes();
}

std::vector<uint8_t> Octets(const std::string& s) { return {s.begin(), s.end()}; }

// A page that differs from page to page: its number in text, a frame and some lines.
std::unique_ptr<TMetafile> Page(int n, int lignes = 3) {
  auto p = std::make_unique<TMetafile>(794, 1123);
  Metafichier::TMetafileCanvas c(*p);
  c.Font.Name = "Arial";
  c.TextOut(100, 100, "Page " + std::to_string(n));
  c.Rectangle({10, 10, 700 + n, 1000});
  for (int i = 0; i < lignes; ++i) {
    c.MoveTo(20, 200 + 10 * i);
    c.LineTo(600, 200 + 10 * i + n);
  }
  return p;
}

// A folder of its own for the files of one test, removed afterwards.
class Dossier {
 public:
  Dossier() {
    std::string modele = (fs::temp_directory_path() / "pagesXXXXXX").string();
    chemin_ = ::mkdtemp(modele.data());
  }
  ~Dossier() { fs::remove_all(chemin_); }
  std::string operator/(const std::string& nom) const { return (chemin_ / nom).string(); }
  std::size_t Fichiers() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(chemin_), {})); }
  const fs::path& Chemin() const { return chemin_; }

 private:
  fs::path chemin_;
};

// The spill files go to TMPDIR while it is set.
class TmpDir {
 public:
  explicit TmpDir(const fs::path& p) {
    if (const char* v = std::getenv("TMPDIR")) ancien_ = v, avait_ = true;
    ::setenv("TMPDIR", p.c_str(), 1);
  }
  ~TmpDir() {
    if (avait_) ::setenv("TMPDIR", ancien_.c_str(), 1);
    else ::unsetenv("TMPDIR");
  }

 private:
  std::string ancien_;
  bool avait_ = false;
};

std::vector<uint8_t> Lire(const std::string& f) {
  TFileStream s(f, fmOpenRead);
  std::vector<uint8_t> o(static_cast<std::size_t>(s.Size()));
  s.ReadBuffer(o.data(), static_cast<int64_t>(o.size()));
  return o;
}
void Ecrire(const std::string& f, const std::vector<uint8_t>& o) {
  TFileStream s(f, fmCreate);
  s.WriteBuffer(o.data(), static_cast<int64_t>(o.size()));
}
void Poser(std::vector<uint8_t>& o, std::size_t p, int32_t v) { std::memcpy(o.data() + p, &v, 4); }
int32_t Lu(const std::vector<uint8_t>& o, std::size_t p) {
  int32_t v;
  std::memcpy(&v, o.data() + p, 4);
  return v;
}

// A page list over a fresh memory store with n pages.
void Remplir(TRBPageList& L, int n, bool Code, int32_t Limite = 250000) {
  L.Compressed = Code;
  L.SetStore(std::make_unique<TRBStream>(Limite));
  for (int i = 1; i <= n; ++i) L.AddPage(*Page(i));
}

}  // namespace

TEST(RBCompress, GoldenCodes) {
  using V = std::vector<uint8_t>;
  EXPECT_EQ(Coder({0x00}), V{0x80});
  EXPECT_EQ(Coder(Octets("abc")), (V{0x46, 0x3D, 0x01}));
  EXPECT_EQ(Coder(Octets("aaaa")), (V{0x46, 0x45}));
  EXPECT_EQ(Coder({0xFF}), (V{0x00, 0x00}));
  EXPECT_EQ(Coder(Octets("Hello, world")), (V{0x92, 0x61, 0x5A, 0x54, 0x80, 0x76, 0x73, 0x41, 0x3F, 0xBB, 0x17}));
}

TEST(RBCompress, AnySequenceRoundTripsAndExpandingConsumesExactlyTheCodedBytes) {
  std::mt19937 alea(72);
  std::vector<std::vector<uint8_t>> suites = {{}, {0xFF, 0xFF, 0xFF}, Page(1)->Octets()};
  for (int n : {1, 2, 7, 100, 5000}) {
    std::vector<uint8_t> s(static_cast<std::size_t>(n));
    for (auto& o : s) o = static_cast<uint8_t>(alea());
    suites.push_back(s);
    // Skewed data reshapes the tree deeply.
    for (auto& o : s) o = static_cast<uint8_t>(alea() % 3 == 0 ? alea() : alea() % 4);
    suites.push_back(s);
  }
  // Every byte value once in order, then backwards: the paths grow as deep as the tree allows.
  std::vector<uint8_t> profond;
  for (int r = 0; r < 8; ++r)
    for (int i = 0; i < 256; ++i) profond.push_back(static_cast<uint8_t>(r % 2 ? 255 - i : i));
  suites.push_back(profond);
  for (const auto& s : suites) {
    TMemoryStream code;
    code.Assign(Coder(s).data(), Coder(s).size());
    std::vector<uint8_t> lu;
    {
      TRBCompress c(code, false);
      for (std::size_t i = 0; i < s.size(); ++i) lu.push_back(c.GetByte());
    }
    EXPECT_EQ(lu, s);
    EXPECT_EQ(code.Position(), code.Size()) << s.size();
  }
  TMemoryStream court;
  court.Assign("\x46", 1);
  TRBCompress c(court, false);
  (void)c.GetByte();
  EXPECT_THROW(
      for (int i = 0; i < 10; ++i)(void) c.GetByte(), EReadError);
}

TEST(RBPageList, AStoreThatSpillsKeepsEveryPageAndLeavesNoTemporaryFile) {
  Dossier tmp;
  TmpDir t(tmp.Chemin());
  for (bool code : {false, true}) {
    TRBPageList liste;
    const int32_t limite = code ? 1000 : 3000;  // a little above two pages
    Remplir(liste, 2, code, limite);
    EXPECT_TRUE(liste.Store()->SpillFileName().empty());
    for (int i = 3; i <= 12; ++i) liste.AddPage(*Page(i));
    const std::string spill = liste.Store()->SpillFileName();
    EXPECT_GT(liste.Store()->Size(), limite);
    ASSERT_FALSE(spill.empty());
    EXPECT_EQ(fs::path(spill).parent_path(), tmp.Chemin());
    EXPECT_EQ(fs::path(spill).filename().string().substr(0, 3), "RBP");
    EXPECT_EQ(fs::status(spill).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    for (int i = 1; i <= 12; ++i) EXPECT_EQ(liste.GetPage(i)->Octets(), Page(i)->Octets()) << i;
    liste.FreeStore();
    EXPECT_FALSE(fs::exists(spill));
  }
  EXPECT_EQ(tmp.Fichiers(), 0u);
}

TEST(RBPageList, PagesReadForwardBackwardAndTwiceAreTheSame) {
  for (bool code : {false, true}) {
    TRBPageList liste;
    Remplir(liste, 6, code);
    for (int i : {1, 2, 3, 4, 5, 6, 6, 5, 3, 1, 4, 4, 2, 6}) EXPECT_EQ(liste.GetPage(i)->Octets(), Page(i)->Octets()) << i;
    for (int i : {0, -1, 7, INT32_MIN}) EXPECT_EQ(liste.GetPage(i), nullptr);
  }
}

TEST(RBPageList, SavedFilesReloadWithTheSamePagesCodedOrNot) {
  Dossier d;
  DateTime::SetClock([] { return 46000.5; });
  for (bool code : {false, true}) {
    for (int n : {0, 1, 4}) {
      TRBPageList liste;
      Remplir(liste, n, code);
      liste.WriteHeader();  // as the end of a run does: the final count (a run of no pages writes it too)
      const std::string f = d / ("run" + std::to_string(n) + (code ? "c" : "u") + ".rbp");
      liste.SaveToFile(f);
      const std::vector<uint8_t> o = Lire(f);
      ASSERT_GE(o.size(), 128u);
      EXPECT_EQ(o[0], 3);
      EXPECT_EQ(o[2], 40);
      EXPECT_EQ(Lu(o, 8), n);
      double date;
      std::memcpy(&date, o.data() + 16, 8);
      EXPECT_EQ(date, 46000.5);
      EXPECT_EQ(o[25], code ? 1 : 0);
      TRBPageList relue;
      relue.LoadFromFile(f);
      EXPECT_EQ(relue.PagesStored(), n);
      EXPECT_EQ(relue.Compressed, code);
      for (int i = n; i >= 1; --i) EXPECT_EQ(relue.GetPage(i)->Octets(), Page(i)->Octets());
      // Saving over the file the list was loaded from.
      relue.SaveToFile(f);
      EXPECT_EQ(Lire(f), o);
      EXPECT_EQ(relue.GetPage(1) != nullptr, n > 0);
    }
  }
  DateTime::SetClock({});
  EXPECT_EQ(d.Fichiers(), 6u);  // no temporary file left beside them
}

TEST(RBPageList, OlderFilesWithA124ByteHeaderLoad) {
  Dossier d;
  for (bool code : {false, true}) {
    TRBPageList liste;
    Remplir(liste, 3, code);
    liste.WriteHeader();
    liste.SaveToFile(d / "neuf");
    std::vector<uint8_t> o = Lire(d / "neuf");
    // The older layout: the date at 12, the coding flag at 21, every position 4 bytes lower.
    std::vector<uint8_t> ancien(o.begin(), o.begin() + 8);
    ancien.resize(124);
    Poser(ancien, 8, 3);
    std::memcpy(ancien.data() + 12, o.data() + 16, 8);
    ancien[21] = code ? 1 : 0;
    std::size_t p = 128;
    while (p < o.size()) {
      const int32_t suivant = Lu(o, p + 4);
      std::vector<uint8_t> rec(o.begin() + static_cast<std::ptrdiff_t>(p), o.begin() + suivant);
      Poser(rec, 4, suivant - 4);
      Poser(rec, rec.size() - 4, static_cast<int32_t>(p) - 4);
      ancien.insert(ancien.end(), rec.begin(), rec.end());
      p = static_cast<std::size_t>(suivant);
    }
    Ecrire(d / "ancien", ancien);
    TRBPageList relue;
    relue.LoadFromFile(d / "ancien");
    EXPECT_EQ(relue.HeaderSize(), 124);
    EXPECT_EQ(relue.PagesStored(), 3);
    EXPECT_EQ(relue.Compressed, code);
    for (int i : {2, 1, 3}) EXPECT_EQ(relue.GetPage(i)->Octets(), Page(i)->Octets());
  }
}

TEST(RBPageList, BrokenChainsGiveTheReadError) {
  Dossier d;
  for (bool code : {false, true}) {
    TRBPageList liste;
    Remplir(liste, 3, code);
    liste.WriteHeader();
    liste.SaveToFile(d / "bon");
    const std::vector<uint8_t> bon = Lire(d / "bon");
    const int32_t p2 = Lu(bon, 128 + 4), p3 = Lu(bon, p2 + 4);
    const int32_t fin = static_cast<int32_t>(bon.size());
    struct Cas {
      const char* Nom;
      std::size_t Position;
      int32_t Valeur;
    };
    const Cas cas[] = {
        {"next backward", static_cast<std::size_t>(p2 + 4), 128},
        {"next past the end", static_cast<std::size_t>(p2 + 4), fin + 100},
        {"next to itself", static_cast<std::size_t>(p2 + 4), p2},
        {"wrong start field", static_cast<std::size_t>(p3 - 4), p2 + 4},
        {"last start field past the end", static_cast<std::size_t>(fin - 4), fin},
        {"skipped page number", static_cast<std::size_t>(p2), 3},
        {"count above the chain", 8, 4},
        {"count beyond the file size", 8, INT32_MAX},
        {"negative count", 8, -1},
        {"coded count above the data", static_cast<std::size_t>(p3 + 8), code ? INT32_MAX : 0},
    };
    for (const Cas& c : cas) {
      if (!code && std::strcmp(c.Nom, "coded count above the data") == 0) continue;
      std::vector<uint8_t> o = bon;
      Poser(o, c.Position, c.Valeur);
      Ecrire(d / "brise", o);
      TRBPageList relue;
      EXPECT_THROW(
          {
            relue.LoadFromFile(d / "brise");
            for (int i : {1, 2, 3, 1, 3, 2}) (void)relue.GetPage(i);
          },
          EReadError)
          << c.Nom << (code ? " coded" : "");
    }
  }
}
