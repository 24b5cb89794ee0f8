// Binary formatters: the exact bytes of every value in both layouts, sized zones read shorter and
// longer, strict mode, the 80-bit extended value, objects written and re-created by class name, and
// corrupt or hostile streams.
#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <cmath>
#include <limits>
#include <random>

#include "core/values/Ansi1252.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/serial/Serialisation.h"

namespace {

using Bytes = std::vector<uint8_t>;

// "07 00 ff" -> bytes.
Bytes H(const char* hex) {
  Bytes out;
  for (const char* p = hex; *p;) {
    if (*p == ' ') { ++p; continue; }
    out.push_back(static_cast<uint8_t>(std::stoi(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return out;
}
Bytes A(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// A string as the formatters write it: its 32-bit length, then its bytes.
Bytes Chaine(const std::string& s) {
  Bytes len(4);
  for (int i = 0; i < 4; ++i) len[i] = static_cast<uint8_t>(s.size() >> (8 * i));
  return len + A(s);
}

Bytes Contenu(TCustomFormatter& f) {
  auto* m = static_cast<TMemoryStream*>(f.Flux());
  return m->Bytes();
}

// A stream in memory that notes the largest read asked of it.
class TFluxCompte : public TMemoryStream {
 public:
  int64_t Read(void* buffer, int64_t count) override {
    plusGrandeLecture = std::max(plusGrandeLecture, count);
    return TMemoryStream::Read(buffer, count);
  }
  int64_t plusGrandeLecture = 0;
};

// A stream that accepts at most `capacity` bytes: writes past it come up short.
class TFluxPlein : public TMemoryStream {
 public:
  explicit TFluxPlein(int64_t capacity) : capacity_(capacity) {}
  int64_t Write(const void* buffer, int64_t count) override {
    int64_t room = std::max<int64_t>(0, capacity_ - Position());
    return TMemoryStream::Write(buffer, std::min(count, room));
  }

 private:
  int64_t capacity_;
};

// A serialisable object whose ordinary constructor leaves a mark, so a test can see that reading
// never runs it.
class TPointSerialisable : public TCustomSerializable {
  NV_DECLARE_CLASS(TPointSerialisable)
 public:
  static inline int Constructions = 0;
  TPointSerialisable(int32_t x, const std::string& nom) : X(x), Nom(nom), Marque(42) { ++Constructions; }
  explicit TPointSerialisable(TBlank b) : TCustomSerializable(b) {}
  void Ecrire(IFormateur* f, TClasseFormat c) override {
    f->EcrireEntier(X);
    f->EcrireChaine(Nom);
    f->EcrireObjet(Suivant, c);
  }
  void Lire(IFormateur* f, TClasseFormat c) override {
    if (f->LireEntier(X) != 4) throw EReadError("point");
    f->LireChaine(Nom);
    Suivant = f->LireObjet(c);
  }
  void AfterConstruction() override { ApresConstruction = true; }
  ~TPointSerialisable() override { delete Suivant; }

  int32_t X = 0;
  std::string Nom;
  int32_t Marque = 0;
  bool ApresConstruction = false;
  TObject* Suivant = nullptr;
};
NV_DEFINE_CLASS(TPointSerialisable, TCustomSerializable)

class TPointDerive : public TPointSerialisable {
  NV_DECLARE_CLASS(TPointDerive)
 public:
  using TPointSerialisable::TPointSerialisable;
};
NV_DEFINE_CLASS(TPointDerive, TPointSerialisable)

// A format class that writes a point as one Word and builds it back itself.
struct TFormatCompact {
  static const TCustomFormatSerialisation::Class* StaticClass() {
    static const TFormatSerialisationOf<TFormatCompact> d("TFormatCompact", TCustomFormatSerialisation::StaticClass());
    return &d;
  }
  static void Ecrire(TObject* o, IInterface* f) {
    Supports<IFormateur>(f)->EcrireWord(static_cast<uint16_t>(static_cast<TPointSerialisable*>(o)->X));
  }
  static void Lire(TObject* o, IInterface* f) {
    uint16_t w = 0;
    Supports<IFormateur>(f)->LireWord(w);
    static_cast<TPointSerialisable*>(o)->X = w;
  }
  static TObject* CreerEtLire(const TClass* c, IInterface* f) {
    TObject* o = c->NewBlank();
    Lire(o, f);
    o->AfterConstruction();
    return o;
  }
};

class Serialisation_ : public ::testing::Test {
 protected:
  void SetUp() override {
    TGestionnaireNomsDeClasse::Enregistrer(TPointSerialisable::StaticClass());
    TGestionnaireNomsDeClasse::Enregistrer(TFormatCompact::StaticClass());
  }
};

}  // namespace

TEST(BinaryFormatter, FixedWidthValuesAndStringsHaveTheirExactBytes) {
  TBinaryFormatter f(nullptr);
  struct Case { std::function<int32_t()> write; Bytes expected; };
  const Case cases[] = {
      {[&] { return f.EcrireBooleen(true); }, H("01")},
      {[&] { return f.EcrireBooleen(false); }, H("00")},
      {[&] { return f.EcrireCaractere('A'); }, H("41")},
      {[&] { return f.EcrireShortInt(-2); }, H("FE")},
      {[&] { return f.EcrireSmallInt(-2); }, H("FE FF")},
      {[&] { return f.EcrireEntier(0x12345678); }, H("78 56 34 12")},
      {[&] { return f.EcrireInt64(-1); }, H("FF FF FF FF FF FF FF FF")},
      {[&] { return f.EcrireOctet(200); }, H("C8")},
      {[&] { return f.EcrireWord(0xABCD); }, H("CD AB")},
      {[&] { return f.EcrireCardinal(0xDEADBEEF); }, H("EF BE AD DE")},
      {[&] { return f.EcrireDouble(1.0); }, H("00 00 00 00 00 00 F0 3F")},
      {[&] { return f.EcrireExtended(1.0); }, H("00 00 00 00 00 00 00 80 FF 3F")},
      {[&] { return f.EcrireChaine(""); }, H("00 00 00 00")},
      {[&] { return f.EcrireChaine("d\xE9j\xE0"); }, H("04 00 00 00 64 E9 6A E0")},
      {[&] { return f.EcrireChaineLarge(u"\u00e9z"); }, H("02 00 00 00 E9 00 7A 00")},
      {[&] { return f.EcrireTampon("xyz", 3); }, H("78 79 7A")},
  };
  for (const auto& c : cases) {
    f.SetPosition(0);
    f.Flux()->SetSize(0);
    c.write();
    EXPECT_EQ(Contenu(f), c.expected);
  }
}

TEST(BinaryFormatter, ValuesReadBackAsWritten) {
  for (bool sized : {false, true}) {
    std::unique_ptr<TBinaryFormatter> f(sized ? new TBinaryFormatterWithSize(nullptr) : new TBinaryFormatter(nullptr));
    f->EcrireBooleen(true);
    f->EcrireShortInt(-100);
    f->EcrireSmallInt(-30000);
    f->EcrireEntier(std::numeric_limits<int32_t>::min());
    f->EcrireInt64(std::numeric_limits<int64_t>::min() + 5);
    f->EcrireWord(65535);
    f->EcrireCardinal(4000000000u);
    f->EcrireDouble(-0.1);
    f->EcrireExtended(3.25);
    EXPECT_EQ(f->EcrireChaine(""), 0);
    EXPECT_EQ(f->EcrireChaine("abc"), 3);
    EXPECT_EQ(f->EcrireChaineLarge(u"\u20ac!"), 4);
    f->EcrireTampon("12345", 5);

    f->SetPosition(0);
    bool b = false; int8_t si = 0; int16_t sm = 0; int32_t e = 0; int64_t i64 = 0; uint16_t w = 0;
    uint32_t c = 0; double d = 0, x = 0; std::string s1 = "x", s2; std::u16string ws; char zone[5] = {};
    EXPECT_EQ(f->LireBooleen(b), 1);
    f->LireShortInt(si); f->LireSmallInt(sm); f->LireEntier(e); f->LireInt64(i64);
    f->LireWord(w); f->LireCardinal(c); f->LireDouble(d);
    EXPECT_EQ(f->LireExtended(x), 10);
    EXPECT_EQ(f->LireChaine(s1), 0);
    EXPECT_EQ(f->LireChaine(s2), 3);
    EXPECT_EQ(f->LireChaineLarge(ws), 4);
    EXPECT_EQ(f->LireTampon(zone, 5), 5);
    EXPECT_TRUE(b);
    EXPECT_EQ(si, -100);
    EXPECT_EQ(sm, -30000);
    EXPECT_EQ(e, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(i64, std::numeric_limits<int64_t>::min() + 5);
    EXPECT_EQ(w, 65535);
    EXPECT_EQ(c, 4000000000u);
    EXPECT_EQ(d, -0.1);
    EXPECT_EQ(x, 3.25);
    EXPECT_EQ(s1, "");
    EXPECT_EQ(s2, "abc");
    EXPECT_EQ(ws, u"\u20ac!");
    EXPECT_EQ(std::string(zone, 5), "12345");
    EXPECT_EQ(f->GetPosition(), f->GetTaille());
  }
}

TEST(BinaryFormatter, BooleanIsTheStoredByteAndShortReadsLeaveTheVariable) {
  TMemoryStream m;
  m.Assign("\x07\x01\x02", 3);
  TBinaryFormatter f(&m);
  bool b = false;
  EXPECT_EQ(f.LireBooleen(b), 1);
  EXPECT_TRUE(b);
  int32_t e = 99;
  EXPECT_EQ(f.LireEntier(e), 2);  // only two bytes remain
  EXPECT_EQ(e, 99);
}

TEST(BinaryFormatter, StrictModeRaisesOnShortReadsAndWrites) {
  TMemoryStream m;
  TBinaryFormatter f(&m);
  int32_t e = 0;
  EXPECT_EQ(f.LireEntier(e), 0);  // not strict: the count tells
  f.ModeStrict = true;
  try {
    f.LireEntier(e);
    FAIL();
  } catch (const EReadError& err) {
    EXPECT_EQ(err.Message(), "Erreur de lecture du flux");
  }

  TFluxPlein plein(2);
  TBinaryFormatter w(&plein);
  EXPECT_EQ(w.EcrireEntier(1), 2);
  w.ModeStrict = true;
  try {
    w.EcrireEntier(1);
    FAIL();
  } catch (const EReadError& err) {
    EXPECT_EQ(err.Message(), "Erreur d'écriture dans le flux"_ansi);
  }

  TFluxPlein plein2(2);
  TBinaryFormatterWithSize s(&plein2);
  EXPECT_EQ(s.EcrireTampon("ab", 2), -1);  // its size could not be written in full
  EXPECT_EQ(s.EcrireChaine("ab"), -1);
  s.ModeStrict = true;
  EXPECT_THROW(s.EcrireTampon("ab", 2), EReadError);
}

TEST(BinaryFormatterWithSize, ZonesCarryTheirSizeAndReadShorterOrLonger) {
  const Bytes stored = H("08 00 00 00 01 02 03 04 05 06 07 08 2A 00 00 00");
  for (bool strict : {false, true}) {
    TMemoryStream m;
    m.Assign(stored.data(), stored.size());
    TBinaryFormatterWithSize f(&m);
    f.ModeStrict = strict;

    uint8_t court[4] = {};
    if (strict) EXPECT_THROW(f.LireTampon(court, 4), EReadError);
    else EXPECT_EQ(f.LireTampon(court, 4), 8);
    EXPECT_EQ(Bytes(court, court + 4), H("01 02 03 04"));
    EXPECT_EQ(f.GetPosition(), 12);  // the rest was skipped, even when strict mode raised
    int32_t next = 0;
    f.LireEntier(next);
    EXPECT_EQ(next, 42);

    f.SetPosition(0);
    uint8_t long_[12];
    std::fill(std::begin(long_), std::end(long_), 0xEE);
    if (strict) EXPECT_THROW(f.LireTampon(long_, 12), EReadError);
    else EXPECT_EQ(f.LireTampon(long_, 12), 8);
    EXPECT_EQ(Bytes(long_, long_ + 12), H("01 02 03 04 05 06 07 08 EE EE EE EE"));
    EXPECT_EQ(f.GetPosition(), 12);

    f.SetPosition(0);
    uint8_t exact[8];
    EXPECT_EQ(f.LireTampon(exact, 8), 8);
  }

  TBinaryFormatterWithSize w(nullptr);
  w.EcrireTampon("xyz", 3);
  w.EcrireChaine("ab");
  EXPECT_EQ(Contenu(w), H("03 00 00 00 78 79 7A 02 00 00 00 61 62"));
}

TEST(BinaryFormatterWithSize, SizeThatCannotBeReadGivesMinusOne) {
  TMemoryStream m;
  m.Assign("\x01\x00", 2);
  TBinaryFormatterWithSize f(&m);
  uint8_t z[4];
  EXPECT_EQ(f.LireTampon(z, 4), -1);
  f.SetPosition(0);
  std::string s = "inchang\xE9";
  EXPECT_EQ(f.LireChaine(s), -1);
  EXPECT_EQ(s, "inchang\xE9");
  f.SetPosition(0);
  TMemoryStream dest;
  EXPECT_EQ(f.LireFlux(&dest), -1);
  f.SetPosition(0);
  f.ModeStrict = true;
  EXPECT_THROW(f.LireTampon(z, 4), EReadError);
}

TEST(BinaryFormatter, EmbeddedStreams) {
  TMemoryStream vide, source, dest;
  source.Assign("hello", 5);

  TBinaryFormatter plain(nullptr);
  EXPECT_EQ(plain.EcrireFlux(&vide), 0);
  EXPECT_EQ(plain.GetTaille(), 0);  // nothing at all for an empty stream
  EXPECT_EQ(plain.EcrireFlux(&source), 5);
  EXPECT_EQ(Contenu(plain), A("hello"));
  EXPECT_EQ(plain.LireFlux(&dest), 5);  // the whole content, from its start
  EXPECT_EQ(dest.AsString(), "hello");

  TBinaryFormatterWithSize sized(nullptr);
  EXPECT_EQ(sized.EcrireFlux(&vide), 0);
  EXPECT_EQ(Contenu(sized), H("00 00 00 00"));
  EXPECT_EQ(sized.EcrireFlux(&source), 5);
  EXPECT_EQ(Contenu(sized), H("00 00 00 00 05 00 00 00") + A("hello"));
  sized.SetPosition(0);
  TMemoryStream d0, d1;
  EXPECT_EQ(sized.LireFlux(&d0), 0);
  EXPECT_EQ(d0.Size(), 0);
  EXPECT_EQ(sized.LireFlux(&d1), 5);
  EXPECT_EQ(d1.AsString(), "hello");
}

// A length is checked against the stream before anything is made of it: the stream is asked for the
// length's 4 bytes and nothing more, so no buffer of the announced size was allocated to read into.
TEST(BinaryFormatter, CorruptLengthsRaiseTheReadErrorWithoutAllocating) {
  struct Case { const char* name; Bytes stream; std::function<void(TBinaryFormatter&)> read; };
  const Case cases[] = {
      {"string longer than the stream", H("FF FF FF 7F 61"), [](TBinaryFormatter& f) { std::string s; f.LireChaine(s); }},
      {"negative string length", H("FE FF FF FF"), [](TBinaryFormatter& f) { std::string s; f.LireChaine(s); }},
      {"wide string longer than the stream", H("00 00 00 40 61 00"), [](TBinaryFormatter& f) { std::u16string s; f.LireChaineLarge(s); }},
      {"wide string of 2 characters in 2 bytes", H("02 00 00 00 61 00"), [](TBinaryFormatter& f) { std::u16string s; f.LireChaineLarge(s); }},
      {"negative wide count", H("FF FF FF FF"), [](TBinaryFormatter& f) { std::u16string s; f.LireChaineLarge(s); }},
  };
  for (const auto& c : cases) {
    for (bool sized : {false, true}) {
      TFluxCompte m;
      m.Assign(c.stream.data(), c.stream.size());
      std::unique_ptr<TBinaryFormatter> f(sized ? new TBinaryFormatterWithSize(&m) : new TBinaryFormatter(&m));
      EXPECT_THROW(c.read(*f), EReadError) << c.name;
      EXPECT_EQ(m.plusGrandeLecture, 4) << c.name;  // the length alone
    }
  }
  const Bytes sizedCases[] = {H("FF FF FF 7F 01 02"), H("FC FF FF FF 01 02 03 04")};
  for (const Bytes& stream : sizedCases) {
    TMemoryStream m;
    m.Assign(stream.data(), stream.size());
    TBinaryFormatterWithSize f(&m);
    uint8_t zone[4];
    EXPECT_THROW(f.LireTampon(zone, 4), EReadError);
    f.SetPosition(0);
    TMemoryStream dest;
    EXPECT_THROW(f.LireFlux(&dest), EReadError);
    EXPECT_EQ(dest.Size(), 0);
  }
}

TEST(Extended80, KnownEncodings) {
  struct Case { double value; const char* bytes; };
  const Case cases[] = {
      {0.0, "00 00 00 00 00 00 00 00 00 00"},
      {-0.0, "00 00 00 00 00 00 00 00 00 80"},
      {1.0, "00 00 00 00 00 00 00 80 FF 3F"},
      {-2.5, "00 00 00 00 00 00 00 A0 00 C0"},
      {0.1, "00 D0 CC CC CC CC CC CC FB 3F"},
      {std::numeric_limits<double>::max(), "00 F8 FF FF FF FF FF FF FE 43"},
      {std::numeric_limits<double>::denorm_min(), "00 00 00 00 00 00 00 80 CD 3B"},
      {std::numeric_limits<double>::infinity(), "00 00 00 00 00 00 00 80 FF 7F"},
      {-std::numeric_limits<double>::infinity(), "00 00 00 00 00 00 00 80 FF FF"},
  };
  for (const auto& c : cases) {
    uint8_t out[10];
    Serialisation::DoubleToExtended80(c.value, out);
    EXPECT_EQ(Bytes(out, out + 10), H(c.bytes)) << c.value;
    uint8_t in[10];
    std::copy_n(H(c.bytes).begin(), 10, in);
    EXPECT_EQ(std::bit_cast<uint64_t>(Serialisation::Extended80ToDouble(in)), std::bit_cast<uint64_t>(c.value));
  }
}

TEST(Extended80, ValuesBeyondTheDoubleRoundToNearestEven) {
  struct Case { const char* bytes; double expected; };
  const double tiny = std::numeric_limits<double>::denorm_min();
  const Case cases[] = {
      {"00 04 00 00 00 00 00 80 FF 3F", 1.0},                          // 1 + 2^-53: a tie, to even
      {"00 0C 00 00 00 00 00 80 FF 3F", 1.0 + std::ldexp(1.0, -51)},   // 1 + 3*2^-53: a tie, to even
      {"01 04 00 00 00 00 00 80 FF 3F", 1.0 + std::ldexp(1.0, -52)},   // just above the tie
      {"FF FF FF FF FF FF FF FF FE 43", std::numeric_limits<double>::infinity()},  // rounds past the maximum
      {"00 00 00 00 00 00 00 80 FF 7B", std::numeric_limits<double>::infinity()},  // far beyond
      {"00 00 00 00 00 00 00 80 CC 3B", 0.0},                          // 2^-1075: a tie, to even (zero)
      {"00 00 00 00 00 00 00 C0 CC 3B", tiny},                         // 0.75 * 2^-1074
      {"00 00 00 00 00 00 00 C0 CD 3B", 2 * tiny},                     // 1.5 * 2^-1074: a tie, to even
      {"00 00 00 00 00 00 00 80 01 00", 0.0},                          // far below the subnormals
      {"00 00 00 00 00 00 00 40 00 00", 0.0},                          // an extended subnormal
      {"00 00 00 00 00 00 00 40 00 3C", std::ldexp(1.0, -1024)},       // unnormal: no integer bit
      {"00 F8 FF FF FF FF FF FF 00 3C", std::ldexp(1.0, -1022)},       // subnormal rounds up to normal
      // A NaN whose payload lies only below the double's 52 fraction bits is still a NaN (quiet).
      {"01 00 00 00 00 00 00 80 FF 7F", std::numeric_limits<double>::quiet_NaN()},
  };
  for (const auto& c : cases) {
    uint8_t in[10];
    std::copy_n(H(c.bytes).begin(), 10, in);
    EXPECT_EQ(std::bit_cast<uint64_t>(Serialisation::Extended80ToDouble(in)), std::bit_cast<uint64_t>(c.expected))
        << c.bytes;
  }
}

TEST(Extended80, EveryDoubleSurvivesTheRoundTripBitForBit) {
  std::mt19937_64 random(12345);
  for (int i = 0; i < 200000; ++i) {
    uint64_t bits = random();
    if (i % 4 == 1) bits &= 0x800FFFFFFFFFFFFFull;  // subnormals
    if (i % 4 == 2) bits |= 0x7FF0000000000000ull;  // infinities and NaNs with payloads
    uint8_t out[10];
    Serialisation::DoubleToExtended80(std::bit_cast<double>(bits), out);
    ASSERT_EQ(std::bit_cast<uint64_t>(Serialisation::Extended80ToDouble(out)), bits) << std::hex << bits;
  }
}

TEST_F(Serialisation_, NilObjectIsTheStringNilAlone) {
  TBinaryFormatter f(nullptr);
  f.EcrireObjet(nullptr, nullptr);
  f.EcrireEntier(5);
  EXPECT_EQ(Contenu(f), Chaine("NIL") + H("05 00 00 00"));
  f.SetPosition(0);
  EXPECT_EQ(f.LireObjet(nullptr), nullptr);
  EXPECT_EQ(f.GetPosition(), 7);
}

TEST_F(Serialisation_, ObjectIsReCreatedByNameWithoutItsConstructor) {
  for (bool sized : {false, true}) {
    std::unique_ptr<TBinaryFormatter> f(sized ? new TBinaryFormatterWithSize(nullptr) : new TBinaryFormatter(nullptr));
    TPointSerialisable p(7, "ab");
    p.Suivant = new TPointSerialisable(8, "");
    f->EcrireObjet(&p, nullptr);
    EXPECT_EQ(Contenu(*f), Chaine("TPointSerialisable") + Chaine("NIL") + H("07 00 00 00") + Chaine("ab") +
                               Chaine("TPointSerialisable") + Chaine("NIL") + H("08 00 00 00") + Chaine("") +
                               Chaine("NIL"));
    const int built = TPointSerialisable::Constructions;
    f->SetPosition(0);
    std::unique_ptr<TObject> o(f->LireObjet(nullptr));
    auto* lu = ObjectAs<TPointSerialisable>(o.get());
    ASSERT_NE(lu, nullptr);
    EXPECT_EQ(TPointSerialisable::Constructions, built);
    EXPECT_EQ(lu->Marque, 0);  // only what Lire sets is set
    EXPECT_TRUE(lu->ApresConstruction);
    EXPECT_EQ(lu->X, 7);
    EXPECT_EQ(lu->Nom, "ab");
    auto* suivant = ObjectAs<TPointSerialisable>(lu->Suivant);
    ASSERT_NE(suivant, nullptr);
    EXPECT_EQ(suivant->X, 8);
    EXPECT_EQ(suivant->Suivant, nullptr);
  }
}

TEST_F(Serialisation_, FormatClassNamedInTheStreamWritesAndReadsTheObject) {
  TBinaryFormatter f(nullptr);
  TPointSerialisable p(0x1234, "ignored");
  f.EcrireObjet(&p, TFormatCompact::StaticClass());
  EXPECT_EQ(Contenu(f), Chaine("TPointSerialisable") + Chaine("TFormatCompact") + H("34 12"));
  f.SetPosition(0);
  std::unique_ptr<TObject> o(f.LireObjet(nullptr));
  auto* lu = ObjectAs<TPointSerialisable>(o.get());
  ASSERT_NE(lu, nullptr);
  EXPECT_EQ(lu->X, 0x1234);
  EXPECT_EQ(lu->Nom, "");
}

TEST_F(Serialisation_, UnreadableObjectsRaiseTheReadError) {
  const Bytes point = Chaine("TPointSerialisable") + Chaine("NIL");
  struct Case { const char* name; Bytes stream; };
  const Case cases[] = {
      {"unregistered class", Chaine("TInconnue") + Chaine("NIL")},
      {"class name in another case", Chaine("tpointserialisable") + Chaine("NIL")},
      {"unregistered format class", Chaine("TPointSerialisable") + Chaine("TFormatInconnu")},
      {"format name that is not a format", Chaine("TPointSerialisable") + Chaine("TPointSerialisable")},
      {"class that is not serialisable", Chaine("TObjectList") + Chaine("NIL")},
      {"no format name", Chaine("TPointSerialisable")},
      {"truncated class name", H("12 00 00 00") + A("TPoint")},
      {"empty stream", Bytes()},
      {"truncated content", point + H("07 00")},
      {"nested object truncated", point + H("07 00 00 00") + Chaine("x") + point + H("01 00 00 00")},
  };
  TGestionnaireNomsDeClasse::Enregistrer(TObjectList::StaticClass());
  for (const auto& c : cases) {
    const Bytes& stream = c.stream;
    for (bool sized : {false, true}) {
      TMemoryStream m;
      m.Assign(stream.data(), stream.size());
      std::unique_ptr<TBinaryFormatter> f(sized ? new TBinaryFormatterWithSize(&m) : new TBinaryFormatter(&m));
      EXPECT_THROW(delete f->LireObjet(nullptr), EReadError) << c.name;
    }
  }
}

TEST_F(Serialisation_, NestingBeyondTheLimitIsACorruptStream) {
  // Objects nested `depth` reads deep: depth - 1 points, each holding the next, then a nil object.
  auto nested = [](int depth) {
    Bytes s;
    for (int i = 1; i < depth; ++i) s = s + Chaine("TPointSerialisable") + Chaine("NIL") + H("00 00 00 00") + Chaine("");
    return s + Chaine("NIL");
  };
  const int limit = TCustomFormatter::kProfondeurMaximale;
  for (int depth : {limit, limit + 1, limit + 2}) {
    const Bytes b = nested(depth);
    TMemoryStream m;
    m.Assign(b.data(), b.size());
    TBinaryFormatter f(&m);
    if (depth <= limit) {
      std::unique_ptr<TObject> o(f.LireObjet(nullptr));
      EXPECT_EQ(f.GetPosition(), f.GetTaille()) << depth;
    } else {
      EXPECT_THROW(f.LireObjet(nullptr), EReadError) << depth;
    }
  }
}

TEST_F(Serialisation_, WritingAnObjectThatIsNotSerialisableFails) {
  TBinaryFormatter f(nullptr);
  TObjectList pasSerialisable;
  EXPECT_THROW(f.EcrireObjet(&pasSerialisable, nullptr), EWriteError);
}

TEST(CustomSerializable, ClassIsRegisteredUnderItsOwnNameOnceHandledAsSerialisable) {
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("TPointDerive"), nullptr);
  TPointDerive d(1, "d");
  TBinaryFormatter f(nullptr);
  f.EcrireObjet(&d, nullptr);
  EXPECT_EQ(TGestionnaireNomsDeClasse::ChercherClasse("TPointDerive"), TPointDerive::StaticClass());
  f.SetPosition(0);
  std::unique_ptr<TObject> o(f.LireObjet(nullptr));
  EXPECT_EQ(o->ClassType(), TPointDerive::StaticClass());
}

TEST(CustomFormatter, StreamOwnership) {
  auto* m = new TMemoryStream();
  {
    TBinaryFormatter f(m);
    EXPECT_FALSE(f.ProprietaireFlux);
    f.EcrireEntier(1);
    EXPECT_EQ(f.GetTampon(), m->Memory());
  }
  EXPECT_EQ(m->Size(), 4);  // still open and usable after the formatter is gone
  delete m;

  TBinaryFormatter own(nullptr);
  EXPECT_TRUE(own.ProprietaireFlux);
  EXPECT_FALSE(own.ModeStrict);
  own.EcrireEntier(1);
  EXPECT_EQ(own.GetTampon(), static_cast<TMemoryStream*>(own.Flux())->Memory());
}
