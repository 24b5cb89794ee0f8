#include "core/diagnostics/Debug.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <link.h>
#include <unwind.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <utility>

#include "core/values/Ansi1252.h"
#include "core/objects/ClasseFinalisable.h"
#include "core/values/Format.h"

// ---------------------------------------------------------------------------------------------------
// Reading the debug information appended to the program file.
//
// Layout (little-endian; S is the start of the debug information in the file):
//   trailer, the file's last 8 bytes: signature "FB09" or "FB0A", uint32 distance D; S = size - D
//   at S: the signature again, int32 offset of the directory from S (negative: no directory)
//   directory: uint16 header size H, uint16 entry size E, uint16 entry count N; the entries start
//     H bytes after the directory, E bytes each: uint16 kind, uint16 module, uint32 offset from S,
//     uint32 size
//   names (kind 0x130): uint32 count, then per name a length byte, the characters and a 0 byte
//   symbols (kind 0x125): a 4-byte signature, then records of uint16 length (of the rest of the
//     record) and uint16 kind; a length of 0 ends them
//   source module (kind 0x127): uint16 file count F, F uint32 file-entry offsets from +4; a file
//     entry holds its name index at +2 and the offset of its first line table at +6; a line table
//     holds uint16 segment, uint16 pair count P, P uint32 code offsets, P uint16 lines
// ---------------------------------------------------------------------------------------------------

namespace {

constexpr uint16_t kSousSectionNoms = 0x130;
constexpr uint16_t kSousSectionSymboles = 0x125;
constexpr uint16_t kSousSectionModuleSource = 0x127;
constexpr uint16_t kSymboleProcedureLocale = 0x0204;
constexpr uint16_t kSymboleProcedureGlobale = 0x0205;
constexpr uint16_t kSymboleVariableDeCadre = 0x0200;
constexpr uint16_t kSymboleVariableRegistre = 0x0002;
constexpr uint64_t kTailleEntreeRepertoire = 12;  // the fields read from a directory entry

// The debug information contradicts the bytes that are really there.
class EInfosDebugCorrompues : public Exception {
 public:
  using Exception::Exception;
};

// A zone of the image in memory; every read is checked against its bytes.
class TZone {
 public:
  TZone(const char* Quoi, const uint8_t* Octets, uint64_t Taille) : quoi_(Quoi), octets_(Octets), taille_(Taille) {}

  uint64_t Taille() const { return taille_; }
  uint8_t U8(uint64_t Pos) const { return octets_[Verifier(Pos, 1)]; }
  uint16_t U16(uint64_t Pos) const {
    const uint8_t* p = octets_ + Verifier(Pos, 2);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
  }
  uint32_t U32(uint64_t Pos) const {
    const uint8_t* p = octets_ + Verifier(Pos, 4);
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
  }
  int32_t I32(uint64_t Pos) const { return static_cast<int32_t>(U32(Pos)); }
  std::string Texte(uint64_t Pos, uint64_t Longueur) const {
    const uint8_t* p = octets_ + Verifier(Pos, Longueur);
    return std::string(reinterpret_cast<const char*>(p), static_cast<std::size_t>(Longueur));
  }
  // The zone of Longueur bytes at Pos inside this one.
  TZone Sous(const char* Quoi, uint64_t Pos, uint64_t Longueur) const {
    return TZone(Quoi, octets_ + Verifier(Pos, Longueur), Longueur);
  }

 private:
  uint64_t Verifier(uint64_t Pos, uint64_t Longueur) const {
    if (Pos > taille_ || Longueur > taille_ - Pos)
      throw EInfosDebugCorrompues(Format("%s: %u bytes at offset %u lie beyond its %u bytes",
                                         {quoi_, Longueur, Pos, taille_}));
    return Pos;
  }

  const char* quoi_;
  const uint8_t* octets_;
  uint64_t taille_;
};

// Longueur bytes of the image at Debut, read into memory once they are known to be there.
std::vector<uint8_t> LireOctets(TStream& Image, const char* Quoi, uint64_t Debut, uint64_t Longueur) {
  const auto taille = static_cast<uint64_t>(Image.Size());
  if (Debut > taille || Longueur > taille - Debut)
    throw EInfosDebugCorrompues(Format("%s: %u bytes at offset %u lie beyond the file's %u bytes",
                                       {Quoi, Longueur, Debut, taille}));
  std::vector<uint8_t> octets(static_cast<std::size_t>(Longueur));
  Image.SetPosition(static_cast<int64_t>(Debut));
  Image.ReadBuffer(octets.data(), static_cast<int64_t>(Longueur));
  return octets;
}

bool SignatureValide(const TZone& Zone) {
  const std::string s = Zone.Texte(0, 4);
  return s == "FB09" || s == "FB0A";
}

struct TEntreeRepertoire {
  uint16_t Genre;
  uint32_t Decalage;  // from the start of the debug information
  uint32_t Taille;
};

// The names, referred to by their index from 1.
class TTableNoms {
 public:
  void Lire(const TZone& Zone) {
    noms_.clear();
    const uint32_t nombre = Zone.U32(0);
    uint64_t pos = 4;
    for (uint32_t i = 0; i < nombre; ++i) {  // each name takes at least 2 bytes, so a false count fails fast
      const uint8_t longueur = Zone.U8(pos);
      noms_.push_back(Zone.Texte(pos + 1, longueur));
      Zone.U8(pos + 1 + longueur);  // the terminating 0 byte
      pos += 2u + longueur;
    }
  }
  // The name of an index; nullptr for an index of 0 or less (no name).
  const std::string* Nom(int32_t Index) const {
    if (Index <= 0) return nullptr;
    if (static_cast<uint64_t>(Index) > noms_.size())
      throw EInfosDebugCorrompues(Format("name index %d beyond the %d names", {Index, noms_.size()}));
    return &noms_[static_cast<std::size_t>(Index - 1)];
  }

 private:
  std::vector<std::string> noms_;
};

void LireSymboles(const TZone& Zone, const TTableNoms& Noms, TInfosDebug& Infos) {
  uint64_t pos = std::min<uint64_t>(4, Zone.Taille());  // after the subsection's signature
  while (Zone.Taille() - pos >= 2) {
    const uint16_t longueur = Zone.U16(pos);
    if (longueur == 0) break;
    const TZone r = Zone.Sous("symbol record", pos, 2u + longueur);
    pos += 2u + longueur;
    switch (r.U16(2)) {
      case kSymboleProcedureLocale:
      case kSymboleProcedureGlobale: {
        const uint32_t longueurCode = r.U32(16);
        const uint32_t debut = r.U32(28);
        if (const std::string* nom = Noms.Nom(r.I32(40))) Infos.Routines.emplace_back(*nom, debut, longueurCode);
        break;
      }
      case kSymboleVariableDeCadre: {
        const int32_t decalage = r.I32(4);
        const std::string* nom = Noms.Nom(r.I32(12));
        if (nom && !Infos.Routines.empty()) Infos.Routines.back().AjouterParametre({*nom, 1, decalage});
        break;
      }
      case kSymboleVariableRegistre: {
        const int32_t registre = r.I32(8);
        const std::string* nom = Noms.Nom(r.I32(10));
        if (nom && !Infos.Routines.empty()) Infos.Routines.back().AjouterParametre({*nom, 0, registre});
        break;
      }
      default:
        break;
    }
  }
}

std::string SansDossier(const std::string& Nom) {
  const std::size_t p = Nom.find_last_of("\\/:");
  return p == std::string::npos ? Nom : Nom.substr(p + 1);
}

// One unit per named file, with the pairs of the file's first line table. A file without pairs has
// no code to place and gives no unit.
void LireModuleSource(const TZone& Zone, const TTableNoms& Noms, TInfosDebug& Infos) {
  const uint16_t nombreFichiers = Zone.U16(0);
  for (uint16_t f = 0; f < nombreFichiers; ++f) {
    const uint32_t entree = Zone.U32(4 + 4u * f);
    const std::string* nom = Noms.Nom(Zone.I32(uint64_t{entree} + 2));
    if (!nom) continue;
    const uint32_t table = Zone.U32(uint64_t{entree} + 6);
    const uint16_t paires = Zone.U16(uint64_t{table} + 2);
    const TZone adresses = Zone.Sous("line table", uint64_t{table} + 4, 4u * paires);
    const TZone lignes = Zone.Sous("line table", uint64_t{table} + 4 + 4u * paires, 2u * paires);
    std::vector<TAddresseEnLigne> table_lignes;
    table_lignes.reserve(paires);
    for (uint16_t i = 0; i < paires; ++i) table_lignes.push_back({adresses.U32(4u * i), lignes.U16(2u * i)});
    if (!table_lignes.empty()) Infos.Unites.emplace_back(SansDossier(*nom), std::move(table_lignes));
  }
}

std::vector<TEntreeRepertoire> LireRepertoire(TStream& Image, uint64_t Debut) {
  const auto tete = LireOctets(Image, "directory header", Debut, 6);
  const TZone t("directory header", tete.data(), tete.size());
  const uint16_t tailleTete = t.U16(0), tailleEntree = t.U16(2), nombre = t.U16(4);
  if (tailleEntree < kTailleEntreeRepertoire)
    throw EInfosDebugCorrompues(Format("directory entries of %d bytes cannot hold an entry", {tailleEntree}));
  const auto octets = LireOctets(Image, "directory", Debut + tailleTete, uint64_t{tailleEntree} * nombre);
  const TZone z("directory", octets.data(), octets.size());
  std::vector<TEntreeRepertoire> entrees;
  for (uint16_t i = 0; i < nombre; ++i) {
    const uint64_t e = uint64_t{tailleEntree} * i;
    entrees.push_back({z.U16(e), z.U32(e + 4), z.U32(e + 8)});
  }
  return entrees;
}

TLectureInfosDebug Lire(TStream& Image, TInfosDebug& Infos) {
  const auto taille = static_cast<uint64_t>(Image.Size());
  if (taille < 8) return TLectureInfosDebug::Absentes;
  const auto fin = LireOctets(Image, "trailer", taille - 8, 8);
  const TZone queue("trailer", fin.data(), fin.size());
  if (!SignatureValide(queue)) return TLectureInfosDebug::Absentes;
  const uint32_t distance = queue.U32(4);
  if (distance > taille)
    throw EInfosDebugCorrompues(Format("the trailer places the debug information %u bytes back in a file of %u",
                                       {distance, taille}));
  const uint64_t debut = taille - distance;

  const auto entete = LireOctets(Image, "debug information header", debut, 8);
  const TZone tete("debug information header", entete.data(), entete.size());
  if (!SignatureValide(tete)) return TLectureInfosDebug::Absentes;
  const int32_t repertoire = tete.I32(4);
  if (repertoire < 0) return TLectureInfosDebug::Absentes;

  const auto entrees = LireRepertoire(Image, debut + static_cast<uint64_t>(repertoire));
  TTableNoms noms;
  for (const auto& e : entrees)
    if (e.Genre == kSousSectionNoms) {
      const auto octets = LireOctets(Image, "names subsection", debut + e.Decalage, e.Taille);
      noms.Lire(TZone("names subsection", octets.data(), octets.size()));
    }
  for (const auto& e : entrees) {
    if (e.Genre != kSousSectionSymboles && e.Genre != kSousSectionModuleSource) continue;
    const char* quoi = e.Genre == kSousSectionSymboles ? "symbols subsection" : "source module subsection";
    const auto octets = LireOctets(Image, quoi, debut + e.Decalage, e.Taille);
    const TZone zone(quoi, octets.data(), octets.size());
    if (e.Genre == kSousSectionSymboles) LireSymboles(zone, noms, Infos);
    else LireModuleSource(zone, noms, Infos);
  }
  return TLectureInfosDebug::Lues;
}

}  // namespace

TLectureInfosDebug Debug::LireInfosDebug(TStream& Image, TInfosDebug& Infos, std::string* Raison) {
  Infos = {};
  try {
    return Lire(Image, Infos);
  } catch (const EInfosDebugCorrompues& e) {
    if (Raison) *Raison = e.Message();
  } catch (const EStreamError& e) {
    if (Raison) *Raison = e.Message();
  }
  Infos = {};
  return TLectureInfosDebug::Corrompues;
}

// ---------------------------------------------------------------------------------------------------
// The platform's own means: the program file from /proc, the load address and the names of the
// dynamic symbols from the dynamic linker, the stack from the unwinder.
// ---------------------------------------------------------------------------------------------------

namespace {

std::string Demeler(const char* Nom) {
  int statut = 0;
  char* clair = abi::__cxa_demangle(Nom, nullptr, nullptr, &statut);
  std::string texte = (statut == 0 && clair) ? clair : Nom;
  std::free(clair);
  return texte;
}

class TPlateformeSysteme final : public IPlateformeDebug {
 public:
  std::string FichierProgramme() override {
    std::error_code erreur;
    auto chemin = std::filesystem::read_symlink("/proc/self/exe", erreur);
    return erreur ? std::string() : chemin.string();
  }

  uintptr_t BaseCode() override {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Debug::ChargerInfosDebug), &info) == 0) return 0;
    return reinterpret_cast<uintptr_t>(info.dli_fbase);
  }

  // Walks the stack with the unwinder, which starts at its caller: this routine, then the capture
  // that called it, both left out so that the first call lies in the routine that asked for the
  // capture. A return address follows its call instruction: one byte back lies inside the call,
  // whatever the call's length (a frame interrupted by a signal already gives its own address).
  __attribute__((noinline)) std::vector<TCadrePile> CadresPile() override {
    struct TParcours {
      std::vector<TCadrePile> Cadres;
      int Rang = 0;
    } parcours;
    _Unwind_Backtrace(
        [](_Unwind_Context* contexte, void* donnees) -> _Unwind_Reason_Code {
          auto& p = *static_cast<TParcours*>(donnees);
          int avantInstruction = 0;
          const uintptr_t ip = _Unwind_GetIPInfo(contexte, &avantInstruction);
          if (ip == 0) return _URC_END_OF_STACK;
          if (p.Rang++ >= 2) p.Cadres.push_back({avantInstruction ? ip : ip - 1, 0, {}});
          return _URC_NO_REASON;
        },
        &parcours);
    return std::move(parcours.Cadres);
  }

  bool SymboleDeAdresse(uintptr_t Adresse, TSymbolePlateforme& Symbole) override {
    Dl_info info{};
    void* entree = nullptr;  // the symbol's entry in the dynamic symbol table
    if (dladdr1(reinterpret_cast<void*>(Adresse), &info, &entree, RTLD_DL_SYMENT) == 0) return false;
    const auto* symbole = static_cast<const ElfW(Sym)*>(entree);
    if (info.dli_sname == nullptr || info.dli_saddr == nullptr) return false;
    Symbole.Nom = Demeler(info.dli_sname);
    Symbole.Debut = reinterpret_cast<uintptr_t>(info.dli_saddr);
    const uintptr_t taille = symbole ? static_cast<uintptr_t>(symbole->st_size) : 0;
    Symbole.Longueur = std::max<uintptr_t>(taille, Adresse - Symbole.Debut + 1);
    return true;
  }
};

// The unit's data: the tables read from the program file, the routines that the platform's symbols
// named, and whether the reading was done.
struct TEtatDebug {
  IPlateformeDebug* Plateforme = nullptr;  // nil: the system's own
  bool Charge = false;
  uintptr_t BaseCode = 0;
  TInfosDebug Infos;
  std::map<std::pair<uint64_t, uint64_t>, std::unique_ptr<TInfosDebugRoutine>> RoutinesPlateforme;

  void Oublier() {
    Infos = {};
    RoutinesPlateforme.clear();
  }
};

TEtatDebug& Etat() {
  static TEtatDebug etat;
  return etat;
}

void LireInfosDebugProgramme() {
  const std::string fichier = Debug::Plateforme().FichierProgramme();
  if (fichier.empty()) return;
  try {
    TFileStream image(fichier, fmOpenRead);
    (void)Debug::LireInfosDebug(image, Etat().Infos);
  } catch (const Exception&) {
    // A program file that cannot be read has no debug information.
  }
}

// The routine that the platform's own symbols place at an offset, kept for the rest of the run.
const TInfosDebugRoutine* RoutinePlateforme(uint64_t Offset) {
  auto& e = Etat();
  TSymbolePlateforme s;
  if (!Debug::Plateforme().SymboleDeAdresse(e.BaseCode + Offset, s) || s.Debut < e.BaseCode) return nullptr;
  auto& routine = e.RoutinesPlateforme[{s.Debut - e.BaseCode, s.Longueur}];
  if (!routine) routine = std::make_unique<TInfosDebugRoutine>(s.Nom, s.Debut - e.BaseCode, s.Longueur);
  return routine->Contient(Offset) ? routine.get() : nullptr;
}

}  // namespace

IPlateformeDebug& Debug::Plateforme() {
  static TPlateformeSysteme systeme;
  return Etat().Plateforme ? *Etat().Plateforme : systeme;
}

void Debug::SetPlateforme(IPlateformeDebug* Plateforme) {
  auto& e = Etat();
  e.Plateforme = Plateforme;
  e.Charge = false;
  e.BaseCode = 0;
  e.Oublier();
}

void Debug::ChargerInfosDebug() {
  auto& e = Etat();
  if (e.Charge) return;
  e.Charge = true;
  e.BaseCode = Plateforme().BaseCode();
  LireInfosDebugProgramme();
}

uintptr_t Debug::BaseCode() {
  ChargerInfosDebug();
  return Etat().BaseCode;
}

const TInfosDebugUnite* Debug::UniteDeAdresse(uint64_t Offset) {
  ChargerInfosDebug();
  const auto& unites = Etat().Infos.Unites;
  std::size_t bas = 0, haut = unites.size();
  while (bas < haut) {
    const std::size_t milieu = bas + (haut - bas) / 2;
    const auto& lignes = unites[milieu].Lignes();
    if (Offset < lignes.front().Adresse) haut = milieu;
    else if (Offset > lignes.back().Adresse) bas = milieu + 1;
    else return &unites[milieu];
  }
  return nullptr;
}

const TInfosDebugRoutine* Debug::RoutineDeAdresse(uint64_t Offset) {
  ChargerInfosDebug();
  const auto& routines = Etat().Infos.Routines;
  std::size_t bas = 0, haut = routines.size();
  while (bas < haut) {
    const std::size_t milieu = bas + (haut - bas) / 2;
    const auto& r = routines[milieu];
    if (r.Contient(Offset)) return &r;
    if (Offset < r.Debut()) haut = milieu;
    else bas = milieu + 1;
  }
  return RoutinePlateforme(Offset);
}

std::string Debug::NomUniteDeAdresse(uintptr_t Adresse) {
  if (Adresse <= BaseCode()) return "";
  const TInfosDebugUnite* u = UniteDeAdresse(Adresse - BaseCode());
  return u ? u->Nom() : "";
}

std::string Debug::LigneDeAdresse(uintptr_t Adresse) {
  if (Adresse <= BaseCode()) return "";
  const uint64_t offset = Adresse - BaseCode();
  const TInfosDebugUnite* u = UniteDeAdresse(offset);
  return u ? u->TexteLigne(offset) : "";
}

void Debug::InstallerGestionnaireErreurs(TRoutineErreur) {
  // The hook is never installed in this system: nothing captures a stack during a run.
}

void Debug::Initialiser() { TracerModule("Initialisation du module Debug."); }

void Debug::Finaliser() {
  TracerModule("Finalisation du module Debug.");
  Etat().Oublier();
}

// ---------------------------------------------------------------------------------------------------
// Lines, capture and rendering.
// ---------------------------------------------------------------------------------------------------

std::string TInfosDebugUnite::TexteLigne(uint64_t Offset) const {
  if (lignes_.empty() || Offset < lignes_.front().Adresse) return "";
  std::size_t bas = 0, haut = lignes_.size() - 1;
  while (bas + 1 < haut) {
    const std::size_t milieu = bas + (haut - bas) / 2;
    if (lignes_[milieu].Adresse == Offset) bas = haut = milieu;
    else if (Offset < lignes_[milieu].Adresse) haut = milieu;
    else bas = milieu;
  }
  return std::to_string(lignes_[bas].Ligne);
}

__attribute__((noinline)) TPileDAppel::TPileDAppel(int32_t Saut) {
  std::vector<TCadrePile> cadres = Debug::Plateforme().CadresPile();
  for (std::size_t i = 0; i < cadres.size(); ++i)
    if (static_cast<int64_t>(i) >= Saut)
      appels_.emplace_back(cadres[i].Adresse, cadres[i].Debut, std::move(cadres[i].Octets));
}

std::string TPileDAppel::EnTexte() const {
  int largeurModule = 0, largeurLigne = 0;
  for (const TAppel& a : appels_) {
    largeurModule = std::max(largeurModule, static_cast<int>(Debug::NomUniteDeAdresse(a.Adresse()).size()));
    largeurLigne = std::max(largeurLigne, static_cast<int>(Debug::LigneDeAdresse(a.Adresse()).size()));
  }
  std::string texte = "\r\n";
  for (std::size_t k = 0; k < appels_.size(); ++k)
    texte += Format("%2d", {k + 1}) + " : " + appels_[k].EnTexte(largeurModule, largeurLigne, true) + "\r\n";
  return texte;
}

std::string TAppel::EnTexte(int LargeurModule, int LargeurLigne, bool AvecParametres) const {
  std::string texte = Format("@%.8X", {adresse_});
  const uintptr_t base = Debug::BaseCode();
  if (adresse_ <= base) return texte;
  const uint64_t offset = adresse_ - base;
  const TInfosDebugUnite* unite = Debug::UniteDeAdresse(offset);
  const TInfosDebugRoutine* routine = Debug::RoutineDeAdresse(offset);

  if (LargeurModule > 0)
    texte += unite ? Format(" Module %-*s", {LargeurModule, unite->Nom()})
                   : Format("        %-*s", {LargeurModule, ""});
  if (LargeurLigne > 0)
    texte += unite ? Format(" (%*s)", {LargeurLigne, unite->TexteLigne(offset)})
                   : Format("  %*s ", {LargeurLigne, ""});
  texte += routine ? " Routine " + routine->Nom() : std::string(" (pas d'info de debug)");
  if (AvecParametres && unite && routine && routine->NombreParametres() > 0 && Taille() > 0)
    texte += "\r\n" + routine->TexteParametres(*this);
  return texte;
}

// Each variable on its line, under the first: a frame-relative variable with its offset and the
// bytes from it up to the variable before it (the frame pointer for the first), a register variable
// with "??" since its value is not in the frame.
std::string TInfosDebugRoutine::TexteParametres(const TAppel& Appel) const {
  int largeurNom = 0;
  for (const auto& p : parametres_) largeurNom = std::max(largeurNom, static_cast<int>(p.Nom().size()));
  std::string texte = Format("%1s Paramètres : "_ansi, {""});
  const int retrait = static_cast<int>(texte.size());
  int32_t precedent = 0;
  for (std::size_t i = 0; i < parametres_.size(); ++i) {
    const TParametreRoutine& p = parametres_[i];
    if (i > 0) texte += "\r\n" + Format("%-*s", {retrait, ""});
    if (p.Genre() == 1)
      texte += Format("[ebp-%.8X] %-*s", {p.Valeur(), largeurNom, p.Nom()}) + " = " +
               Appel.TexteMemoire(retrait + largeurNom + 18, p.Valeur(), precedent);
    else
      texte += Format("%14s %-*s", {"", largeurNom, p.Nom()}) + " = " + "??";
    precedent = p.Valeur();
  }
  return texte;
}

// Byte index = Taille + offset. A variable that starts before the copied bytes is shown from the
// first byte copied: nothing is ever read outside the copy.
std::string TAppel::TexteMemoire(int Colonne, int32_t De, int32_t A) const {
  if (Taille() == 0 || De >= A) return "";
  const int64_t debut = std::max<int64_t>(0, int64_t{Taille()} + De);
  const int64_t fin = std::min<int64_t>(int64_t{Taille()} + A, Taille());
  std::string texte;
  for (int64_t ligne = debut; ligne < fin; ligne += 16) {
    texte += ligne == debut ? Format("%.8X   ", {ligne}) : "\r\n" + Format("%-*s%.8X   ", {Colonne, "", ligne});
    for (int64_t i = ligne; i < std::min(ligne + 16, fin); ++i)
      texte += Format(" %.2X", {donnees_[static_cast<std::size_t>(i)]});
  }
  return texte;
}

// ---------------------------------------------------------------------------------------------------
// The hook on the application's exception handler.
// ---------------------------------------------------------------------------------------------------

void TErreurDExecution::SetActif(bool Valeur) {
  if (Valeur == actif_) return;
  if (Valeur) {
    precedent_ = std::move(gestionnaire_);
    gestionnaire_ = [this](TObject* Sender, const Exception& E) { SurException(Sender, E); };
  } else {
    gestionnaire_ = std::move(precedent_);
    precedent_ = nullptr;
  }
  actif_ = Valeur;
}

void TErreurDExecution::SurException(TObject* Sender, const Exception& E) {
  if (actif_ && Routine) {
    if (dynamic_cast<const EAbort*>(&E) == nullptr) Routine(Sender, E);
  } else if (precedent_) {
    precedent_(Sender, E);
  }
}
