// Call-stack diagnostics: the program's picture of its own call stack. Reads the debug information
// appended to the program file (routines with their code ranges and frame variables, source files
// with their address-to-line tables), captures the current call stack and renders it as text, call
// by call: code address, unit, line, routine and the bytes of the routine's frame variables. Also the
// hook that can send the application's exceptions to a routine of our own.
//
// Code addresses are looked up as offsets from BaseCode. Where the program file carries no such
// debug information (the usual case on Linux), routine names come from the platform's own symbols.
// Everything here runs on the calling thread without locks: the tables are filled once, on the first
// lookup, and only read afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/serial/Streams.h"

class TObject;

// One entry of a unit's line table: a code offset and the source line that starts there.
struct TAddresseEnLigne {
  uint32_t Adresse;
  int32_t Ligne;
};

// A variable of a routine's frame: a register variable (Genre 0, Valeur is the register number) or
// a frame-relative variable (Genre 1, Valeur is its offset from the frame pointer).
class TParametreRoutine {
 public:
  TParametreRoutine(std::string Nom, int32_t Genre, int32_t Valeur)
      : nom_(std::move(Nom)), genre_(Genre), valeur_(Valeur) {}
  const std::string& Nom() const { return nom_; }
  int32_t Genre() const { return genre_; }
  int32_t Valeur() const { return valeur_; }

 private:
  std::string nom_;
  int32_t genre_;
  int32_t valeur_;
};

class TAppel;

// A routine of the program: its name, its code range [Debut, Fin] (offsets from BaseCode, Fin
// inclusive) and its frame variables in table order.
class TInfosDebugRoutine {
 public:
  TInfosDebugRoutine(std::string Nom, uint64_t Debut, uint64_t Longueur)
      : nom_(std::move(Nom)), debut_(Debut), longueur_(Longueur) {}
  const std::string& Nom() const { return nom_; }
  uint64_t Debut() const { return debut_; }
  // The last code offset; a routine without code has Fin = Debut - 1 and holds no offset.
  int64_t Fin() const { return static_cast<int64_t>(debut_ + longueur_) - 1; }
  bool Contient(uint64_t Offset) const { return Offset >= debut_ && Offset - debut_ < longueur_; }
  const std::vector<TParametreRoutine>& Parametres() const { return parametres_; }
  int NombreParametres() const { return static_cast<int>(parametres_.size()); }
  void AjouterParametre(TParametreRoutine p) { parametres_.push_back(std::move(p)); }

  // The routine's variables with the bytes that a call's frame holds for them.
  std::string TexteParametres(const TAppel& Appel) const;

 private:
  std::string nom_;
  uint64_t debut_;
  uint64_t longueur_;
  std::vector<TParametreRoutine> parametres_;
};

// A source file of the program: its name without folder and its address-to-line table, in
// ascending address order (the last entry marks the end of the file's code).
class TInfosDebugUnite {
 public:
  TInfosDebugUnite(std::string Nom, std::vector<TAddresseEnLigne> Lignes)
      : nom_(std::move(Nom)), lignes_(std::move(Lignes)) {}
  const std::string& Nom() const { return nom_; }
  const std::vector<TAddresseEnLigne>& Lignes() const { return lignes_; }
  // The decimal source line of a code offset: the entry with the greatest address not above the
  // offset, the last entry excluded; empty below the first entry.
  std::string TexteLigne(uint64_t Offset) const;

 private:
  std::string nom_;
  std::vector<TAddresseEnLigne> lignes_;
};

// What the debug information of one program file gives, in reading order (ascending addresses).
struct TInfosDebug {
  std::vector<TInfosDebugRoutine> Routines;
  std::vector<TInfosDebugUnite> Unites;
};

enum class TLectureInfosDebug { Lues, Absentes, Corrompues };

// One frame of a captured stack as the platform gives it: an address inside the call instruction
// that left the frame's routine, and a copy of the caller's frame bytes (Debut is the address of the
// first byte) when the platform can give them.
struct TCadrePile {
  uintptr_t Adresse = 0;
  uintptr_t Debut = 0;
  std::vector<uint8_t> Octets;
};

// A routine that the platform's own symbols place at a code address (absolute addresses).
struct TSymbolePlateforme {
  std::string Nom;
  uintptr_t Debut = 0;
  uintptr_t Longueur = 0;
};

// What the running platform tells of the program. The system's own answers come from the process
// (the program file, its load address, the unwinder and the dynamic symbols); tests put another.
class IPlateformeDebug {
 public:
  virtual ~IPlateformeDebug() = default;
  // The program's own file; empty when unknown.
  virtual std::string FichierProgramme() = 0;
  // The address that code offsets count from.
  virtual uintptr_t BaseCode() = 0;
  // The calls that led to the caller of the capture, innermost first: element 0 lies in the routine
  // that called the routine that calls CadresPile.
  virtual std::vector<TCadrePile> CadresPile() = 0;
  virtual bool SymboleDeAdresse(uintptr_t Adresse, TSymbolePlateforme& Symbole) = 0;
};

// One captured call: the code address, and the caller's frame bytes from Debut (Taille of them).
class TAppel {
 public:
  TAppel(uintptr_t Adresse, uintptr_t Debut, std::vector<uint8_t> Donnees)
      : adresse_(Adresse), debut_(Debut), donnees_(std::move(Donnees)) {}
  uintptr_t Adresse() const { return adresse_; }
  uintptr_t Debut() const { return debut_; }
  const std::vector<uint8_t>& Donnees() const { return donnees_; }
  int32_t Taille() const { return static_cast<int32_t>(donnees_.size()); }

  // "@address", then the unit column and the line column (each only when its width is above 0),
  // then the routine; with AvecParametres, the routine's variables on the following lines.
  std::string EnTexte(int LargeurModule, int LargeurLigne, bool AvecParametres) const;
  // The frame bytes from offset De up to offset A (offsets from the frame pointer, which is the end
  // of the bytes), 16 to a line, further lines indented by Colonne blanks.
  std::string TexteMemoire(int Colonne, int32_t De, int32_t A) const;

 private:
  uintptr_t adresse_;
  uintptr_t debut_;
  std::vector<uint8_t> donnees_;
};

// A captured call stack, innermost call first.
class TPileDAppel {
 public:
  // Captures the calling thread's stack, leaving out the Saut innermost calls; the first call kept
  // lies in the routine that creates the stack.
  explicit TPileDAppel(int32_t Saut);
  // A stack of given calls.
  explicit TPileDAppel(std::vector<TAppel> Appels) : appels_(std::move(Appels)) {}

  int32_t Nombre() const { return static_cast<int32_t>(appels_.size()); }
  const TAppel& Appels(int32_t i) const { return appels_.at(static_cast<std::size_t>(i)); }

  // "\r\n", then one line per call: its number on 2 characters, " : " and the call's text, with the
  // unit and line columns as wide as the widest of the stack.
  std::string EnTexte() const;

 private:
  std::vector<TAppel> appels_;
};

// A routine that receives the application's exceptions.
using TRoutineErreur = void (*)(TObject* Sender, const Exception& E);
// The application's exception-handler slot.
using TGestionnaireException = std::function<void(TObject* Sender, const Exception& E)>;

// The hook on the application's exception handler: while active, every exception but a silent abort
// (EAbort) goes to Routine instead of the handler that was in place.
class TErreurDExecution {
 public:
  explicit TErreurDExecution(TGestionnaireException& Gestionnaire) : gestionnaire_(Gestionnaire) {}
  TErreurDExecution(const TErreurDExecution&) = delete;
  TErreurDExecution& operator=(const TErreurDExecution&) = delete;
  ~TErreurDExecution() { SetActif(false); }

  bool Actif() const { return actif_; }
  // True keeps the application's handler and puts SurException in its place; False puts it back.
  void SetActif(bool Valeur);
  TRoutineErreur Routine = nullptr;

  void SurException(TObject* Sender, const Exception& E);

 private:
  TGestionnaireException& gestionnaire_;
  TGestionnaireException precedent_;
  bool actif_ = false;
};

namespace Debug {

// Reads the debug information at the end of a program image. Absentes when the image carries none;
// Corrompues (Infos left empty, Raison saying what is wrong) when a length, count, offset or index
// points outside the bytes really there.
TLectureInfosDebug LireInfosDebug(TStream& Image, TInfosDebug& Infos, std::string* Raison = nullptr);

// Loads the program's debug information once per run (a failed read is not retried).
void ChargerInfosDebug();
uintptr_t BaseCode();
// The unit and the routine of a code offset; nil when nothing matches.
const TInfosDebugUnite* UniteDeAdresse(uint64_t Offset);
const TInfosDebugRoutine* RoutineDeAdresse(uint64_t Offset);
// The unit name and the line text of a code address; empty when the address is not above BaseCode
// or nothing matches.
std::string NomUniteDeAdresse(uintptr_t Adresse);
std::string LigneDeAdresse(uintptr_t Adresse);

// The platform in use: the system's own unless SetPlateforme put another. Changing it forgets the
// loaded debug information.
IPlateformeDebug& Plateforme();
void SetPlateforme(IPlateformeDebug* Plateforme);

// Would hook the application's exception handler to send exceptions to Routine; this system never
// installs the hook, so it returns at once.
void InstallerGestionnaireErreurs(TRoutineErreur Routine);

void Initialiser();
void Finaliser();

}  // namespace Debug
