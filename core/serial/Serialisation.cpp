#include "core/serial/Serialisation.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <type_traits>

#include "core/values/Ansi1252.h"
#include "core/objects/GestionnaireNomsDeClasse.h"

NV_DEFINE_ABSTRACT_CLASS(TCustomFormatter, TObjetInterfacable)
NV_DEFINE_CLASS(TBinaryFormatter, TCustomFormatter)
NV_DEFINE_CLASS(TBinaryFormatterWithSize, TBinaryFormatter)
NV_DEFINE_CLASS(TCustomSerializable, TObjetInterfacable)

namespace {

constexpr std::string_view kNil = "NIL";

// Little-endian bytes of an unsigned value of N bytes.
template <std::size_t N>
void PutLE(uint64_t v, uint8_t* out) {
  for (std::size_t i = 0; i < N; ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}
template <std::size_t N>
uint64_t GetLE(const uint8_t* in) {
  uint64_t v = 0;
  for (std::size_t i = 0; i < N; ++i) v |= static_cast<uint64_t>(in[i]) << (8 * i);
  return v;
}

// The unsigned integer of the same width as T.
template <class T>
using UnsignedOf = std::conditional_t<sizeof(T) == 1, uint8_t,
                                      std::conditional_t<sizeof(T) == 2, uint16_t,
                                                         std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>>;

// Keeps the nesting depth of LireObjet for the duration of one call.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------
// TCustomFormatter

TCustomFormatter::TCustomFormatter(TStream* Flux) {
  if (Flux == nullptr) {
    flux_ = new TMemoryStream();
    ProprietaireFlux = true;
  } else {
    flux_ = Flux;
  }
}

TCustomFormatter::~TCustomFormatter() {
  if (ProprietaireFlux) delete flux_;
}

void* TCustomFormatter::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IFormateur::IID) return static_cast<IFormateur*>(this);
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

int32_t TCustomFormatter::GetPosition() { return static_cast<int32_t>(flux_->Position()); }

void TCustomFormatter::SetPosition(int32_t Valeur) { flux_->SetPosition(Valeur); }

int32_t TCustomFormatter::GetTaille() const { return static_cast<int32_t>(flux_->Size()); }

const uint8_t* TCustomFormatter::GetTampon() const {
  auto* memory = dynamic_cast<TMemoryStream*>(flux_);
  return memory ? memory->Memory() : nullptr;
}

int64_t TCustomFormatter::Restant() const { return flux_->Remaining(); }

void TCustomFormatter::ErreurLecture() { throw EReadError(std::string("Erreur de lecture du flux")); }

// The write error is raised as a read error, as the stream error of the class library always was:
// callers catch EReadError around both directions.
void TCustomFormatter::ErreurEcriture() { throw EReadError(std::string("Erreur d'écriture dans le flux"_ansi)); }

void TCustomFormatter::EcrireObjet(TObject* Objet, TClasseFormat ClasseFormat) {
  if (Objet == nullptr) {
    EcrireChaine(std::string(kNil));
    return;
  }
  ISerializable* serialisable = InterfaceOf<ISerializable>(Objet);
  if (serialisable == nullptr)
    throw EWriteError("La classe " + Objet->ClassName() + std::string(" n'est pas sérialisable"_ansi));
  EcrireChaine(Objet->ClassName());
  if (ClasseFormat != nullptr) {
    EcrireChaine(ClasseFormat->ClassName());
    ClasseFormat->Ecrire(Objet, static_cast<IFormateur*>(this));
  } else {
    EcrireChaine(std::string(kNil));
    serialisable->Ecrire(this, nullptr);
  }
}

TObject* TCustomFormatter::LireObjet(TClasseFormat) {
  DepthGuard depth(profondeur_);
  if (profondeur_ > kProfondeurMaximale) ErreurLecture();

  std::string nom;
  if (LireChaine(nom) < 0) ErreurLecture();
  if (nom == kNil) return nullptr;
  const TClass* classe = TGestionnaireNomsDeClasse::ChercherClasse(nom);
  if (classe == nullptr) ErreurLecture();

  std::string nomFormat;
  if (LireChaine(nomFormat) < 0) ErreurLecture();
  if (nomFormat == kNil) return CreerEtLireSansFormat(classe);

  // The abstract root of the format classes builds nothing; a concrete format class may answer nil
  // (a reference to an object the reader does not hold).
  auto* format = dynamic_cast<TClasseFormat>(TGestionnaireNomsDeClasse::ChercherClasse(nomFormat));
  if (format == nullptr || format == TCustomFormatSerialisation::StaticClass()) ErreurLecture();
  return format->CreerEtLire(classe, static_cast<IFormateur*>(this));
}

// Builds the object blank (no constructor runs), lets it read its data, then runs its
// after-construction hook. A failure frees the half-read object before the error goes on.
TObject* TCustomFormatter::CreerEtLireSansFormat(const TClass* Classe) {
  TObject* objet = Classe->NewBlank();
  if (objet == nullptr) ErreurLecture();
  ISerializable* serialisable = InterfaceOf<ISerializable>(objet);
  if (serialisable == nullptr) {
    delete objet;
    ErreurLecture();
  }
  try {
    serialisable->Lire(this, nullptr);
    objet->AfterConstruction();
  } catch (...) {
    delete objet;
    throw;
  }
  return objet;
}

// ---------------------------------------------------------------------------------------------------
// TBinaryFormatter

int32_t TBinaryFormatter::EcrireBrut(const void* Zone, int32_t Taille) {
  int32_t n = Taille > 0 ? static_cast<int32_t>(Flux()->Write(Zone, Taille)) : 0;
  if (ModeStrict && n != Taille) ErreurEcriture();
  return n;
}

int32_t TBinaryFormatter::LireBrut(void* Zone, int32_t Taille) {
  int32_t n = Taille > 0 ? static_cast<int32_t>(Flux()->Read(Zone, Taille)) : 0;
  if (ModeStrict && n != Taille) ErreurLecture();
  return n;
}

template <class T>
int32_t TBinaryFormatter::EcrireFixe(T Valeur) {
  uint8_t bytes[sizeof(T)];
  PutLE<sizeof(T)>(std::bit_cast<UnsignedOf<T>>(Valeur), bytes);
  return EcrireBrut(bytes, sizeof(T));
}

template <class T>
int32_t TBinaryFormatter::LireFixe(T& Valeur) {
  uint8_t bytes[sizeof(T)];
  int32_t n = LireBrut(bytes, sizeof(T));
  if (n == static_cast<int32_t>(sizeof(T))) Valeur = std::bit_cast<T>(static_cast<UnsignedOf<T>>(GetLE<sizeof(T)>(bytes)));
  return n;
}

int32_t TBinaryFormatter::EcrireTampon(const void* Zone, int32_t Taille) { return EcrireBrut(Zone, Taille); }
int32_t TBinaryFormatter::LireTampon(void* Zone, int32_t Taille) { return LireBrut(Zone, Taille); }

int32_t TBinaryFormatter::EcrireBooleen(bool Valeur) { return EcrireFixe<uint8_t>(Valeur ? 1 : 0); }
int32_t TBinaryFormatter::LireBooleen(bool& Valeur) {
  uint8_t b = 0;
  int32_t n = LireFixe(b);
  if (n == 1) Valeur = b != 0;
  return n;
}
int32_t TBinaryFormatter::EcrireCaractere(char Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireCaractere(char& Valeur) { return LireFixe(Valeur); }
int32_t TBinaryFormatter::EcrireShortInt(int8_t Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireShortInt(int8_t& Valeur) { return LireFixe(Valeur); }
int32_t TBinaryFormatter::EcrireSmallInt(int16_t Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireSmallInt(int16_t& Valeur) { return LireFixe(Valeur); }
int32_t TBinaryFormatter::EcrireEntier(int32_t Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireEntier(int32_t& Valeur) { return LireFixe(Valeur); }
int32_t TBinaryFormatter::EcrireInt64(int64_t Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireInt64(int64_t& Valeur) { return LireFixe(Valeur); }
int32_t TBinaryFormatter::EcrireOctet(uint8_t Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireOctet(uint8_t& Valeur) { return LireFixe(Valeur); }
int32_t TBinaryFormatter::EcrireWord(uint16_t Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireWord(uint16_t& Valeur) { return LireFixe(Valeur); }
int32_t TBinaryFormatter::EcrireCardinal(uint32_t Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireCardinal(uint32_t& Valeur) { return LireFixe(Valeur); }
int32_t TBinaryFormatter::EcrireDouble(double Valeur) { return EcrireFixe(Valeur); }
int32_t TBinaryFormatter::LireDouble(double& Valeur) { return LireFixe(Valeur); }

int32_t TBinaryFormatter::EcrireExtended(double Valeur) {
  uint8_t bytes[10];
  Serialisation::DoubleToExtended80(Valeur, bytes);
  return EcrireBrut(bytes, 10);
}

int32_t TBinaryFormatter::LireExtended(double& Valeur) {
  uint8_t bytes[10];
  int32_t n = LireBrut(bytes, 10);
  if (n == 10) Valeur = Serialisation::Extended80ToDouble(bytes);
  return n;
}

int32_t TBinaryFormatter::EcrireChaine(const std::string& S) {
  if (S.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) ErreurEcriture();
  auto longueur = static_cast<int32_t>(S.size());
  EcrireEntier(longueur);
  return longueur == 0 ? 0 : EcrireBrut(S.data(), longueur);
}

int32_t TBinaryFormatter::LireLongueur(int32_t& Longueur) {
  int32_t valeur = 0;
  if (LireEntier(valeur) != 4) return -1;
  Longueur = valeur;
  return 4;
}

// The bytes of a string whose length has been read. The length is checked against the stream before
// anything is allocated: a corrupt length must not make the reader allocate or read at random.
int32_t TBinaryFormatter::LireOctetsChaine(std::string& S, int32_t Longueur) {
  if (Longueur < 0 || Longueur > Restant()) ErreurLecture();
  if (Longueur == 0) {
    S.clear();
    return 0;
  }
  std::string lu(static_cast<std::size_t>(Longueur), '\0');
  int32_t n = LireBrut(lu.data(), Longueur);
  lu.resize(static_cast<std::size_t>(std::max(n, 0)));
  S = std::move(lu);
  return n;
}

int32_t TBinaryFormatter::LireChaine(std::string& S) {
  int32_t longueur = 0;
  LireLongueur(longueur);  // a short read leaves 0: the empty string
  return LireOctetsChaine(S, longueur);
}

int32_t TBinaryFormatter::EcrireChaineLarge(const std::u16string& W) {
  if (W.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max() / 2)) ErreurEcriture();
  auto nombre = static_cast<int32_t>(W.size());
  EcrireEntier(nombre);
  if (nombre == 0) return 0;
  std::string bytes(2 * W.size(), '\0');
  for (std::size_t i = 0; i < W.size(); ++i) PutLE<2>(W[i], reinterpret_cast<uint8_t*>(&bytes[2 * i]));
  return EcrireBrut(bytes.data(), 2 * nombre);
}

int32_t TBinaryFormatter::LireChaineLarge(std::u16string& W) {
  int32_t nombre = 0;
  LireLongueur(nombre);
  if (nombre < 0 || static_cast<int64_t>(nombre) * 2 > Restant()) ErreurLecture();
  if (nombre == 0) {
    W.clear();
    return 0;
  }
  std::string bytes(2 * static_cast<std::size_t>(nombre), '\0');
  int32_t n = LireBrut(bytes.data(), 2 * nombre);
  std::u16string lu(static_cast<std::size_t>(std::max(n, 0) / 2), u'\0');
  for (std::size_t i = 0; i < lu.size(); ++i)
    lu[i] = static_cast<char16_t>(GetLE<2>(reinterpret_cast<const uint8_t*>(&bytes[2 * i])));
  W = std::move(lu);
  return n;
}

int64_t TBinaryFormatter::Copier(TStream& Source, TStream& Destination, int64_t Nombre) {
  char chunk[65536];
  int64_t copie = 0;
  while (copie < Nombre) {
    int64_t lu = Source.Read(chunk, std::min<int64_t>(Nombre - copie, sizeof chunk));
    if (lu <= 0) break;
    int64_t ecrit = Destination.Write(chunk, lu);
    copie += std::max<int64_t>(ecrit, 0);
    if (ecrit != lu) break;
  }
  return copie;
}

int32_t TBinaryFormatter::EcrireFlux(TStream* Source) {
  int64_t taille = Source->Size();
  if (taille <= 0) return static_cast<int32_t>(taille);
  if (taille > std::numeric_limits<int32_t>::max()) ErreurEcriture();
  Source->SetPosition(0);
  if (Copier(*Source, *Flux(), taille) != taille && ModeStrict) ErreurEcriture();
  return static_cast<int32_t>(taille);
}

int32_t TBinaryFormatter::LireFlux(TStream* Destination) {
  int64_t taille = Flux()->Size();
  if (taille <= 0) return static_cast<int32_t>(taille);
  if (taille > std::numeric_limits<int32_t>::max()) ErreurLecture();
  Flux()->SetPosition(0);
  if (Copier(*Flux(), *Destination, taille) != taille && ModeStrict) ErreurLecture();
  return static_cast<int32_t>(taille);
}

// ---------------------------------------------------------------------------------------------------
// TBinaryFormatterWithSize

bool TBinaryFormatterWithSize::EcrireTaille(int32_t Taille) {
  uint8_t bytes[4];
  PutLE<4>(static_cast<uint32_t>(Taille), bytes);
  return Flux()->Write(bytes, 4) == 4;
}

bool TBinaryFormatterWithSize::LireTaille(int32_t& Taille) {
  uint8_t bytes[4];
  if (Flux()->Read(bytes, 4) != 4) return false;
  Taille = static_cast<int32_t>(static_cast<uint32_t>(GetLE<4>(bytes)));
  return true;
}

int32_t TBinaryFormatterWithSize::EcrireTampon(const void* Zone, int32_t Taille) {
  if (!EcrireTaille(Taille)) {
    if (ModeStrict) ErreurEcriture();
    return -1;
  }
  return TBinaryFormatter::EcrireTampon(Zone, Taille);
}

int32_t TBinaryFormatterWithSize::LireTampon(void* Zone, int32_t Taille) {
  Taille = std::max(Taille, 0);
  int32_t stocke = 0;
  int32_t resultat = -1;
  if (LireTaille(stocke)) {
    if (stocke < 0 || stocke > Restant()) ErreurLecture();
    if (stocke == Taille) return TBinaryFormatter::LireTampon(Zone, Taille);
    int32_t m = std::min(Taille, stocke);
    int32_t lu = TBinaryFormatter::LireTampon(Zone, m);
    if (lu < m) return lu;
    if (stocke > m) Flux()->Seek(stocke - m, TSeekOrigin::soCurrent);
    resultat = stocke;
  }
  if (ModeStrict) ErreurLecture();
  return resultat;
}

int32_t TBinaryFormatterWithSize::EcrireChaine(const std::string& S) {
  if (S.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) ErreurEcriture();
  auto longueur = static_cast<int32_t>(S.size());
  if (EcrireEntier(longueur) != 4) return -1;
  return longueur == 0 ? 0 : EcrireBrut(S.data(), longueur);
}

int32_t TBinaryFormatterWithSize::LireChaine(std::string& S) {
  int32_t longueur = 0;
  if (LireLongueur(longueur) < 0) return -1;
  return LireOctetsChaine(S, longueur);
}

int32_t TBinaryFormatterWithSize::EcrireFlux(TStream* Source) {
  int64_t taille = Source->Size();
  if (taille > std::numeric_limits<int32_t>::max()) ErreurEcriture();
  if (EcrireEntier(static_cast<int32_t>(std::max<int64_t>(taille, 0))) != 4) return -1;
  if (taille <= 0) return static_cast<int32_t>(taille);
  Source->SetPosition(0);
  if (Copier(*Source, *Flux(), taille) != taille && ModeStrict) ErreurEcriture();
  return static_cast<int32_t>(taille);
}

int32_t TBinaryFormatterWithSize::LireFlux(TStream* Destination) {
  int32_t taille = 0;
  if (!LireTaille(taille)) return -1;
  if (taille < 0 || taille > Restant()) ErreurLecture();
  int64_t copie = Copier(*Flux(), *Destination, taille);
  if (copie != taille) ErreurLecture();
  return static_cast<int32_t>(copie);
}

// ---------------------------------------------------------------------------------------------------
// TCustomSerializable

void TCustomSerializable::Ecrire(IFormateur*, TClasseFormat) {}
void TCustomSerializable::Lire(IFormateur*, TClasseFormat) {}

void* TCustomSerializable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ISerializable::IID) {
    TGestionnaireNomsDeClasse::Enregistrer(ClassType());
    return static_cast<ISerializable*>(this);
  }
  return TObjetInterfacable::GetInterfaceEntry(iid);
}

// ---------------------------------------------------------------------------------------------------
// The 80-bit extended format

namespace {

constexpr uint64_t kIntegerBit = uint64_t{1} << 63;
constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;
constexpr uint64_t kDoubleFraction = (uint64_t{1} << 52) - 1;

// m / 2^shift rounded to nearest, ties to even (shift >= 1).
uint64_t ShiftRightRounded(uint64_t m, int shift) {
  if (shift > 64) return 0;  // m < 2^64 <= 2^(shift-1): below one half
  uint64_t kept = shift == 64 ? 0 : m >> shift;
  uint64_t rest = shift == 64 ? m : m & ((uint64_t{1} << shift) - 1);
  uint64_t half = uint64_t{1} << (shift - 1);
  if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
  return kept;
}

double FromBits(uint64_t bits) { return std::bit_cast<double>(bits); }

}  // namespace

void Serialisation::DoubleToExtended80(double Valeur, uint8_t (&Octets)[10]) {
  const uint64_t bits = std::bit_cast<uint64_t>(Valeur);
  const uint16_t sign = (bits >> 63) != 0 ? 0x8000 : 0;
  const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & kDoubleFraction;
  uint64_t mantissa = 0;
  int biased = 0;
  if (exponent == 0x7FF) {  // infinities and NaNs keep their payload
    biased = 0x7FFF;
    mantissa = kIntegerBit | (fraction << 11);
  } else if (exponent != 0) {
    biased = exponent - kDoubleBias + kExtendedBias;
    mantissa = kIntegerBit | (fraction << 11);
  } else if (fraction != 0) {  // a subnormal double is a normal extended value
    const int shift = std::countl_zero(fraction);
    mantissa = fraction << shift;
    biased = -1011 - shift + kExtendedBias;  // value = fraction * 2^-1074
  }
  PutLE<8>(mantissa, Octets);
  PutLE<2>(static_cast<uint16_t>(sign | biased), Octets + 8);
}

double Serialisation::Extended80ToDouble(const uint8_t (&Octets)[10]) {
  uint64_t mantissa = GetLE<8>(Octets);
  const auto top = static_cast<uint16_t>(GetLE<2>(Octets + 8));
  const uint64_t sign = static_cast<uint64_t>(top >> 15) << 63;
  const int biased = top & 0x7FFF;

  if (biased == 0x7FFF) {
    uint64_t fraction = (mantissa & ~kIntegerBit) >> 11;
    if ((mantissa & ~kIntegerBit) == 0) return FromBits(sign | (uint64_t{0x7FF} << 52));
    if (fraction == 0) fraction = uint64_t{1} << 51;  // a payload lost below the double's bits: quiet NaN
    return FromBits(sign | (uint64_t{0x7FF} << 52) | fraction);
  }
  if (mantissa == 0) return FromBits(sign);

  // Normalise (the extended subnormals and unnormals have no integer bit): value = 1.f * 2^e.
  int e = (biased == 0 ? 1 : biased) - kExtendedBias;
  const int shift = std::countl_zero(mantissa);
  mantissa <<= shift;
  e -= shift;

  if (e > kDoubleBias) return FromBits(sign | (uint64_t{0x7FF} << 52));
  if (e >= 1 - kDoubleBias) {
    // 53 significant bits; a carry out of the rounding moves into the exponent field by itself.
    uint64_t rounded = ShiftRightRounded(mantissa, 11);  // in [2^52, 2^53]
    uint64_t result = (static_cast<uint64_t>(e + kDoubleBias - 1) << 52) + rounded;
    if ((result >> 52) >= 0x7FF) return FromBits(sign | (uint64_t{0x7FF} << 52));
    return FromBits(sign | result);
  }
  // Subnormal result: fraction = value / 2^-1074, rounded; 2^52 becomes the least normal by itself.
  const int subShift = -1011 - e;  // > 11
  return FromBits(sign | ShiftRightRounded(mantissa, subShift));
}
