// The common pattern of the record files of the timetable base. A file is declared once by a
// description (extension, table code, place in the base order, in-memory record, orders, stored
// layouts by version limit with their converters, verification) and held by one TFichierSup, which
// owns the file's record table and provides every housekeeping operation, the registration with the
// table registry and the steps shared by every modification: push the request code, send it to the
// server or, in exclusive mode, change the table, notify and mark the base modified, pop the code.
//
// In memory a record starts with its identifier (signed 32-bit): the byte offset of the record in
// the server's stored file, 0 for a record created locally. Records refer to each other by record
// number; stored records carry identifiers instead. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/records/Comparai.h"
#include "net/NetXi.h"

class TFichierSup;
class TVerificateurNetXi;

// A base format version, compared on its first three parts.
struct TypeVersionFormat {
  uint32_t Majeure = 0, Mineure = 0, Revision = 0, Construction = 0;
};
namespace Version {
// True when a is below b on the first `Parties` parts.
bool EstInferieureA(const TypeVersionFormat& a, const TypeVersionFormat& b, int Parties = 3);
}  // namespace Version

struct TypeColonneFichier {
  int32_t Decalage;  // in the in-memory record
  int32_t Taille;
  TypeComparaison Comparaison;
};

struct TypeOrdreFichier {
  bool Unique;
  std::vector<TypeColonneFichier> Colonnes;
};

// Converter from one stored layout to the current record of the file's table. The identifier is
// already set and the kind is a creation or a change; False refuses the record.
using TypeLireStocke = bool (*)(TFichierSup& Fichier, const uint8_t* Stocke, TypeGenreModif Genre);
// Converter from the current record to the current stored layout (the buffer is zero-filled).
using TypeEcrireStocke = bool (*)(TFichierSup& Fichier, uint8_t* Stocke);

// A field of a record declared by a field table (see DeclarationFichier.h).
enum class TypeSorteChamp : uint8_t {
  Entier,     // signed 32-bit
  Cardinal,   // unsigned 32-bit
  Octet,      // a byte value (a kind, a code)
  Booleen,    // a byte read as 0 or 1
  Octets,     // a zone carried as it is (a week set, an opaque zone)
  Chaine,     // a counted string
  Reel,       // a double
  Reference,  // a record of another file: its record number in memory, its identifier (or key) stored
};

// What a stored reference of 0 or to a record that does not exist gives.
enum class TypeSiAbsente : uint8_t {
  Refuser,      // the stored record is refused
  AucuneSiZero, // 0 names no record; an unknown record refuses the stored record
  Aucune,       // record number 0
  Premiere,     // record number 1 (the file's first record stands in)
  ParDefaut,    // the record number that the field's NumeroParDefaut gives (the file's default row)
};

struct TypeChampFichier {
  const char* Nom;
  TypeSorteChamp Sorte;
  int32_t Taille;             // bytes in memory (a counted string of n characters: n + 1)
  int32_t Stocke = -1;        // offset in the current stored record; -1 for a field never stored
  int32_t TailleStockee = 0;  // width in the stored record when narrower than in memory (a 16-bit place)
  int32_t Cible = 0;          // Reference: place of the referenced file
  int32_t OrdreCible = 0;     // Reference: the referenced file's order searched with the stored value
                              // (0: its identifier order; else an order of one number column)
  TypeSiAbsente SiAbsente = TypeSiAbsente::Refuser;
  int64_t Defaut = 0;  // a number's value after ViderArticle
  // Reference whose file depends on the record (converted after the other fields): the place, 0 for none.
  int32_t (*CibleDe)(const uint8_t* Enregistrement) = nullptr;
  // TypeSiAbsente::ParDefaut: the record that stands in, 0 when none.
  uint32_t (*NumeroParDefaut)() = nullptr;
  int32_t Decalage = -1;  // in the in-memory record; set when the file is declared

  constexpr TypeChampFichier Vaut(int64_t Valeur) const {
    TypeChampFichier c = *this;
    c.Defaut = Valeur;
    return c;
  }
  constexpr TypeChampFichier SinonParDefaut(uint32_t (*Numero)()) const {
    TypeChampFichier c = *this;
    c.SiAbsente = TypeSiAbsente::ParDefaut;
    c.NumeroParDefaut = Numero;
    return c;
  }
  constexpr TypeChampFichier StockeSur(int32_t Largeur) const {
    TypeChampFichier c = *this;
    c.TailleStockee = Largeur;
    return c;
  }
  constexpr int32_t LargeurStockee() const { return TailleStockee != 0 ? TailleStockee : Taille; }
};

struct TypeDispositionStockee {
  uint32_t Taille;           // bytes of one stored record
  TypeVersionFormat Limite;  // applies to bases below this version; ignored for the last layout
  TypeLireStocke Lire;       // nil for an older layout that is known but not read: its records are refused
};

struct TypeDescriptionFichier {
  const char* Unite;      // "SupPays"
  const char* Extension;  // ".PAY"
  uint8_t CodeTable;      // the TT of the file's request codes
  int32_t Place;          // 1..42, the place in the base order
  uint32_t TailleEnregistrement;
  std::vector<TypeOrdreFichier> Ordres;              // orders 1..n
  int32_t OrdreIdentifiant;                          // the order whose only column is the identifier
  std::vector<TypeDispositionStockee> Dispositions;  // oldest first; the last one is current
  TypeEcrireStocke Ecrire;                           // nil for a file that registers no such converter
  void (*Defauts)(uint8_t* Enregistrement);          // default field values after zero-filling; may be nil
  bool Verifie;                                      // creates its verifier at registration
  // The fields of a file declared by its field table, with their in-memory offsets; empty for a file
  // whose unit declares its record as a structure.
  std::vector<TypeChampFichier> Champs = {};
};

class TFichierSup {
 public:
  // `ContenuParDefaut`: the unit's default-contents routine, handed to the registry; may be nil.
  explicit TFichierSup(const TypeDescriptionFichier& Description, bool (*ContenuParDefaut)() = nullptr);
  virtual ~TFichierSup();
  TFichierSup(const TFichierSup&) = delete;
  TFichierSup& operator=(const TFichierSup&) = delete;

  const TypeDescriptionFichier& Description() const { return description_; }
  // The handle of the table (its current-record buffer); nil while the table does not exist.
  void* Table = nullptr;
  uint8_t* Enregistrement() const { return static_cast<uint8_t*>(Table); }
  int32_t IdentifiantCourant() const;

  // Optional routines handed to the registry.
  TypeRoutineOrdre AvantOrdre;
  TypeRoutineOrdre ApresOrdre;
  TypeSurModification SurModification1;
  TypeSurModification SurModification2;

  // --- Housekeeping
  // Zero-fills the current-record buffer, then sets the file's default values; identifier 0.
  void ViderArticle();
  // Frees a former table, then creates the table with its orders. False when the engine refuses.
  bool CreerTable();
  void LibererTable();
  // The unit's shut-down: frees the table and the verifier.
  void Finaliser();
  void EmpilerPosition();
  // True when the popped record was made current again.
  bool DepilerPosition();
  // Positions on the record of an identifier; not found, the former current record is current again.
  virtual bool ChercherParIdentifiant(int32_t Identifiant);
  // The identifier of a record number, 0 when none; the position is kept.
  int32_t IdentifiantDe(uint32_t NumeroArticle);
  // The record number of an identifier, 0 when no record has it or the identifier is not positive;
  // the position is kept. Converters turn stored references into record numbers with it.
  uint32_t NumeroDeIdentifiant(int32_t Identifiant);
  // The record number whose 32-bit key in `Ordre` (an order of that one column: a permanent number)
  // is `Cle`, 0 when none or when Cle is 0; Ordre 0 is the identifier order. The position is kept.
  uint32_t NumeroDeCle(int32_t Ordre, uint32_t Cle);
  // The 32-bit value at `Decalage` in a record, 0 when the record number holds none; position kept.
  uint32_t ValeurDe(uint32_t NumeroArticle, int32_t Decalage);
  // True when the record number holds a record; the position is kept.
  bool Existe(uint32_t NumeroArticle);
  // The counted string of `Capacite` characters at `Decalage` in a record; empty when the record
  // number holds none. The position is kept.
  std::string ChaineDe(uint32_t NumeroArticle, int32_t Decalage, int32_t Capacite);
  // Stored to in-memory through the layout at `Disposition` (index into the description's list).
  bool LireArticleStocke(std::size_t Disposition, const uint8_t* Stocke, int32_t Identifiant, TypeGenreModif Genre);
  // In-memory to the current stored layout into a buffer of `Taille` bytes (zero-filled first); sets
  // the record's identifier. False, nothing written, when the current layout does not fit the buffer.
  bool EcrireArticleStocke(uint8_t* Stocke, uint32_t Taille, int32_t Identifiant, TypeGenreModif Genre);
  // The same into a buffer of the current layout's size.
  bool EcrireArticleStocke(uint8_t* Stocke, int32_t Identifiant, TypeGenreModif Genre) {
    return EcrireArticleStocke(Stocke, description_.Dispositions.back().Taille, Identifiant, Genre);
  }
  // The record numbers met walking `Ordre` from the key the buffer holds (the first record whose key is
  // not below it) while `Continuer` holds for the record reached (it reads the buffer), in the order's
  // sequence; order 0 walks every record from the first. The position is kept.
  std::vector<uint32_t> NumerosDepuisCle(int32_t Ordre, const std::function<bool()>& Continuer);
  // Makes each record number current in turn, skipping those that no longer hold a record, and calls
  // Routine until one answers non-zero: that answer, else 0. The position is kept, also when Routine
  // raises. Collecting the numbers first lets Routine delete records.
  int32_t Visiter(const std::vector<uint32_t>& Numeros, const std::function<int32_t()>& Routine);
  // The layout that a base of that version is stored in (index into the description's list).
  std::size_t DispositionPour(const TypeVersionFormat& VersionBase, bool BaseAnterieure506) const;
  // False when that layout is known but not read: a base stored in it cannot be loaded.
  bool DispositionLue(const TypeVersionFormat& VersionBase, bool BaseAnterieure506) const;
  // Chooses the layout, registers the file, keeps its table number and recreates its verifier.
  // Returns the table number (0 when the registry refused it).
  virtual int32_t InscrireFichier();
  // The table number kept at registration (0 before).
  int32_t NumeroTable() const;
  TVerificateurNetXi* Verificateur() const { return verificateur_.get(); }

  // --- The steps of every modification, around the operation's own work.
  // Creation: the server gets Donnees (Taille bytes) and answers the identifier, which is then made
  // current; locally `Remplir` writes the fields after ViderArticle and the buffer is inserted.
  // With VerdictSeul the server's verdict is the result, whether or not the new record is then found.
  // Locally `ApresInsertion` finishes the inserted record before the creation is notified.
  bool Creer(uint32_t Code, const void* Donnees, int32_t Taille, const std::function<void()>& Remplir,
             bool VerdictSeul = false, const std::function<void()>& ApresInsertion = {});
  // Change of the current record: the server gets Valeur (Taille bytes) with the record's identifier;
  // locally `Ecrire` writes the field into the buffer and the record is changed.
  bool Modifier(uint32_t Code, const void* Valeur, int32_t Taille, const std::function<void()>& Ecrire);
  // Deletion of the current record; locally `Dependants` first removes what refers to it. The server
  // gets the record's identifier, or `CleServeur` for a file whose deletions name records otherwise.
  bool Supprimer(uint32_t Code, const std::function<void()>& Dependants = {},
                 std::optional<int32_t> CleServeur = std::nullopt);
  // The file's default contents; locally `Inserer` inserts its default rows.
  bool ContenuParDefaut(uint32_t Code, const std::function<void()>& Inserer = {});
  // Inserts the buffer; when inserted runs `ApresInsertion`, notifies the creation and marks the base
  // modified.
  bool InsererLocalement(const std::function<void()>& ApresInsertion = {});

 protected:
  virtual TVerificateurNetXi* CreerVerificateur(int32_t NumeroTable);

 private:
  const TypeDescriptionFichier& description_;
  bool (*contenuParDefaut_)();
  std::vector<uint8_t> tampon_;  // the stored-record buffer of the registered layout
  std::unique_ptr<TVerificateurNetXi> verificateur_;
};

// Saves a file's position and restores it when the scope ends, an exception included.
class TPositionSauvee {
 public:
  explicit TPositionSauvee(TFichierSup& Fichier) : fichier_(Fichier) { fichier_.EmpilerPosition(); }
  ~TPositionSauvee() { (void)fichier_.DepilerPosition(); }
  TPositionSauvee(const TPositionSauvee&) = delete;
  TPositionSauvee& operator=(const TPositionSauvee&) = delete;

 private:
  TFichierSup& fichier_;
};

namespace FichierSup {
// A counted string of at most `Capacite` characters at `Champ` (Capacite + 1 bytes).
void EcrireChaineCourte(uint8_t* Champ, int32_t Capacite, const std::string& Texte);
std::string LireChaineCourte(const uint8_t* Champ, int32_t Capacite);
// Copies a counted string between fields of possibly different capacities, cut to the target's.
void CopierChaineCourte(uint8_t* Cible, int32_t CapaciteCible, const uint8_t* Source, int32_t CapaciteSource);
}  // namespace FichierSup
