// The table registry: the one place that knows, for every record file of the base, how to turn a
// stored record into an in-memory record and back, how to find a record by its identifier and whom to
// tell when the table changed. The received modification orders, the local changes in exclusive mode,
// the whole-base stream and the record verifiers all reach a file's table through its entry.
//
// A file's table number is its 1-based place in the registry, that is its place in the order of
// registration. The registry holds at most kTablesMaximum entries. Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TMemoryStream;

// The kind of a change, carried as one byte in orders and notifications.
enum TypeGenreModif : uint8_t { GM_Creation = 0, GM_Modification = 1, GM_Suppression = 2 };

// Converters: (stored-record buffer, table handle, identifier, kind) -> accepted.
using TypeConvertisseurStocke =
    std::function<bool(uint8_t* Tampon, void* Table, int32_t Identifiant, TypeGenreModif Genre)>;
// Before and after a received order: same arguments, no answer.
using TypeRoutineOrdre = std::function<void(uint8_t* Tampon, void* Table, int32_t Identifiant, TypeGenreModif Genre)>;
// Change observers: (kind, table number, identifier).
using TypeSurModification = std::function<void(TypeGenreModif Genre, int32_t NumeroTable, int32_t Identifiant)>;
// Positions the file's table on the record of an identifier; False leaves the former current record.
using TypeChercherParIdentifiant = std::function<bool(int32_t Identifiant)>;

// One registered file.
struct TypeTableReseau {
  uint8_t* Tampon = nullptr;                    // the file's stored-record buffer, TailleStockee bytes
  void** Table = nullptr;                       // the file's table variable, so that a table created later is seen
  uint32_t TailleStockee = 0;                   // one stored record in the layout chosen for the base's version
  std::string Extension;                        // with its dot, at most 4 characters
  TypeConvertisseurStocke LireArticleStocke;    // stored to in-memory
  TypeConvertisseurStocke EcrireArticleStocke;  // in-memory to stored (none for a file that has none)
  std::function<bool()> ContenuParDefaut;       // kept with the entry, never called through it; may be empty
  TypeRoutineOrdre AvantOrdre;
  TypeRoutineOrdre ApresOrdre;
  TypeSurModification SurModification1;
  TypeSurModification SurModification2;
  TypeChercherParIdentifiant ChercherParIdentifiant;
};

namespace NetXi {

inline constexpr int32_t kTablesMaximum = 200;
inline constexpr std::size_t kExtensionMaximum = 4;

// Appends one entry (the extension cut to 4 characters) and returns its table number, the new count.
// A registration beyond kTablesMaximum entries is refused: nothing is added and the answer is 0.
[[nodiscard]] int32_t EnregistrerTable(const TypeTableReseau& Entree);
// Frees every entry; the count becomes 0.
void LibererTables();
// The registered entries.
int32_t NombreTables();
// The entry of a table number; nil outside 1..NombreTables.
TypeTableReseau* Table(int32_t NumeroTable);

// The routines of the user-information stream: the reader of the per-user parameters (given a memory
// stream at position 0), their writer (given an empty memory stream) and the routine that installs
// their defaults. Each does nothing until the per-user parameter unit installs its own; a routine is
// installed only while its slot still holds the do-nothing one, so the first installation stays.
using TypeRoutineParametresUtilisateur = void (*)(TMemoryStream* Flux);
using TypeRoutineParametresParDefaut = void (*)();
TypeRoutineParametresUtilisateur LireParametresUtilisateur();
TypeRoutineParametresUtilisateur EcrireParametresUtilisateur();
TypeRoutineParametresParDefaut ParametresUtilisateurParDefaut();
void InstallerParametresUtilisateur(TypeRoutineParametresUtilisateur Lire, TypeRoutineParametresUtilisateur Ecrire,
                                    TypeRoutineParametresParDefaut ParDefaut);

void Initialiser();
void Finaliser();

}  // namespace NetXi
