// The record-table engine: each record file of the timetable base, and each working table, lives in
// memory as a table of fixed-size records kept in several sorted orders at once. A table is used
// through its current-record buffer, which is also its handle; outcomes are left in the per-thread
// XiStatut rather than returned.
//
// A table is used by one thread at a time and has no lock. Records are numbered from 1; a number is
// stable while its record exists and the lowest free number is reused first. Records never move in
// memory: storage grows by blocks, so the address of a stored record stays valid while it exists.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/records/Comparai.h"
#include "core/records/Memoire.h"
#include "core/records/OrderTree.h"
#include "core/records/Stockage.h"

// One column of an order: a field of the record and the routine that compares it.
struct TypeColonneXi {
  TypeComparaison Comparaison = nullptr;
  int32_t Decalage = 0;  // offset of the field from the start of the record
  int32_t Taille = 0;    // passed to the comparison as its size
};

// How the 64-bit key prefix of an order's entries is taken from its leading columns, so that most
// comparisons of a search are settled without reading the records: each part is the leading bits of
// an order-preserving encoding of one column, the parts follow the columns' sequence.
enum class TypePrefixeXi : uint8_t {
  Aucun,
  Cardinal,
  Entier,
  Octet,
  OctetDecroissant,
  Octets,
  Cardinaux,
  Chaine
};

struct TypePartiePrefixeXi {
  TypePrefixeXi Sorte = TypePrefixeXi::Aucun;
  uint8_t Bits = 0;  // leading bits of the column's encoding taken into the prefix
  int32_t Decalage = 0;
  int32_t Taille = 0;
};

// One sorted order. Order 0 has no column: its sequence is the record numbers ascending, computed
// from the free numbers. Every other order holds each record once, sorted by its columns in
// sequence and, among equal keys, by record number.
struct TypeOrdreXi {
  uint32_t NombreColonnes = 0;
  std::vector<TypeColonneXi> Colonnes;  // columns 1..NombreColonnes at indexes 0..NombreColonnes-1
  bool Unique = false;                  // refuses two records with equal keys
  TypePartiePrefixeXi Prefixe[8];
  uint8_t PartiesPrefixe = 0;
  uint8_t BitsPrefixe = 0;
  bool PrefixeComplet = false;  // the prefix is the whole key: equal prefixes mean equal keys
  OrderTree Numeros;            // the record numbers in the order's sequence (orders 1 and up)
};

struct TypeBlocXi {
  int32_t Utilises = 0;                // records of this block that exist
  uint8_t* Enregistrements = nullptr;  // records per block x record size bytes, zero-filled
};

// The bookkeeping of a table; it lies immediately before the current-record buffer, in one allocation.
struct alignas(16) TypeEnteteXi {
  int32_t TailleBloc = 0;  // bytes of record storage per block
  int32_t Maximum = -1;    // the most records accepted; -1 for no maximum
  uint32_t Nombre = 0;     // records present
  uint32_t NumeroCourant = 0;
  uint32_t TailleEnregistrement = 0;  // always even
  uint32_t EnregistrementsParBloc = 0;
  uint32_t NombreOrdres = 0;      // including order 0
  uint32_t PositionCourante = 0;  // position of the current record in the current order; 0 = none
  int32_t OrdreCourant = -1;      // order in which the current record was reached by position; -1 none
  uint8_t* Tampon = nullptr;      // the current-record buffer (the handle)
  uint8_t* EnregistrementCourant = nullptr;  // the current record in its block; nil when none
  std::unique_ptr<TypeOrdreXi[]> Ordres;
  TypeEnsembleMemoire NumerosLibres;  // numbers below the highest in use that hold no record, sorted
  uint32_t NombreBlocs = 0;
  uint32_t Capacite = 0;  // NombreBlocs x EnregistrementsParBloc
  std::vector<TypeBlocXi> Blocs;
  TPile PositionsSauvees;  // saved record numbers
};

// A plain walk callback: one pointer-sized argument, True to keep (a filter) or to stop (a treatment).
using TypeFonctionXi = bool (*)(intptr_t argument);

// A method walk callback: an object and a routine called on it. No routine means absent.
struct TypeMethodeXi {
  void* Objet = nullptr;
  bool (*Routine)(void* objet, intptr_t argument) = nullptr;

  explicit operator bool() const { return Routine != nullptr; }
  bool operator()(intptr_t argument) const { return Routine(Objet, argument); }
};

// Binds a member function bool T::M(intptr_t) of an object as a walk callback.
template <class T, bool (T::*M)(intptr_t)>
TypeMethodeXi MethodeXi(T* objet) {
  return {objet, [](void* o, intptr_t argument) { return (static_cast<T*>(o)->*M)(argument); }};
}

namespace Xi {

// Per-thread state, zero at the start of each thread.
extern thread_local constinit TypeEnteteXi* XiTableCourante;  // the table of the operation in progress
extern thread_local constinit int32_t XiStatut;               // the outcome of the last operation
extern thread_local constinit int32_t
    XiOrdreDoublon;  // unique order that refused the last insertion or change

// Values of XiStatut.
inline constexpr int32_t kStatutEgal =
    1;  // record reached (by position: its key equals the buffer's former key)
inline constexpr int32_t kStatutDifferent = 2;  // record reached by position; its key differs
inline constexpr int32_t kStatutAucun = 0;     // no record (buffer cleared); or deleted / changed; or created
inline constexpr int32_t kStatutMaximum = -1;  // insertion refused: the table is full (or there is no table)
inline constexpr int32_t kStatutDoublon = -2;  // insertion refused: a unique order holds the key
inline constexpr int32_t kStatutSuppressionInvalide = -3;   // deletion without a valid current record
inline constexpr int32_t kStatutModificationInvalide = -4;  // change without a valid current record
inline constexpr int32_t kStatutModificationDoublon = -5;   // change refused: another record holds the key
inline constexpr int32_t kStatutCreationRefusee = -6;       // table refused: bad size, maximum or orders

// Limits of a table.
inline constexpr int32_t kTailleBlocMaximale = 0x40000;  // bytes per block, so the largest record
inline constexpr int32_t kEnregistrementsParBlocSansMaximum = 1024;
inline constexpr int32_t kOrdresMaximum = 1024;
inline constexpr int32_t kColonnesMaximum = 1024;

// --- Creation and definition, in this order, before the first record enters the table.

// Creates an empty table and stores its handle in `table` (a former table is not freed). Refused,
// with a nil handle and kStatutCreationRefusee, for a record size outside 1..kTailleBlocMaximale
// (after rounding up to even), a maximum below -1, or a number of orders outside 0..kOrdresMaximum.
// A maximum of 0 or -1 means none.
void Creer(void*& table, int32_t maximum, int32_t tailleEnregistrement, int32_t nombreOrdres);
// Declares order 1..number of orders (order 0 is declared by Creer). False, nothing changed, for an
// order or column count out of range or a table that already holds records.
bool DefinirOrdre(void* table, int32_t ordre, int32_t nombreColonnes, bool unique);
// Declares column 1..column count of an order; the field is given by its address in the buffer.
// False, nothing changed, when the field does not lie inside the record, the comparison is nil, or
// the table already holds records.
bool DefinirColonne(void* table, int32_t ordre, int32_t colonne, const void* champ, int32_t taille,
                    TypeComparaison comparaison);
// Frees the table; nil does nothing. The caller clears its variable.
void Detruire(void* table);

// --- Access. Positions are 1-based, 0 meaning none. An order outside 0..number of orders reaches no
// record. A nil handle reaches nothing and answers False or 0.

// Loads record `numero`; current order -1.
bool AllerA(void* table, uint32_t numero);
// Loads the record at a position of an order, or none outside 1..count.
bool AllerAPosition(void* table, int32_t ordre, uint32_t position);
// Positions on the first record whose key is not below the buffer's key; returns that position
// (count + 1 when every key is below; 0 in order 0). XiStatut 1 equal key, 2 greater, 0 none.
uint32_t Chercher(void* table, int32_t ordre);
// Finds the record whose key equals the buffer's, as Chercher finds it but without counting its
// position: the record becomes current as AllerA makes it (current order -1), XiStatut 1, True.
// Not found: the record that was current is current again as AllerA makes it, XiStatut 0, False.
bool Trouver(void* table, int32_t ordre);
// Position of the current record in the order (0 without one); the order becomes current.
uint32_t Position(void* table, int32_t ordre);
// Position of a record in an order; 0 when it holds no record. The current record is reloaded.
uint32_t PositionDeNumero(void* table, uint32_t numero, int32_t ordre);
// Record number at a position of an order; 0 when none. The current record is reloaded.
uint32_t NumeroAPosition(void* table, uint32_t position, int32_t ordre);
bool Premier(void* table, int32_t ordre);
bool Dernier(void* table, int32_t ordre);
// The position after the current record's; after the last record, no record; then the first.
bool Suivant(void* table, int32_t ordre);
// The position before the current record's; the last record when there is none.
bool Precedent(void* table, int32_t ordre);
// Adds the buffer as a new record, which becomes current.
[[nodiscard]] bool Inserer(void* table);
// Writes the buffer over the current record.
[[nodiscard]] bool Modifier(void* table);
// Deletes the current record; the current order and position are kept.
[[nodiscard]] bool Supprimer(void* table);
uint32_t NumeroCourant(const void* table);
uint32_t Nombre(const void* table);
// Pushes the current number (0 included) on the table's saved positions.
void SauverPosition(void* table);
// Pops the last saved number and loads it again; False with nothing changed when none is saved.
bool RestaurerPosition(void* table);

// Walks an order: collects the records that the filter keeps (nil keeps all), then calls the
// treatment on each collected record that still exists and that the filter still keeps, with the
// record current, until a treatment answers True. Callbacks may insert, change and delete records.
// Returns the last treatment's answer (False when none was called).
bool Parcourir(void* table, int32_t ordre, TypeFonctionXi traitement, intptr_t argTraitement,
               TypeFonctionXi filtre, intptr_t argFiltre, bool sauverPosition);
bool ParcourirMethode(void* table, int32_t ordre, intptr_t argument, TypeMethodeXi traitement,
                      TypeMethodeXi filtre, intptr_t argFiltre, bool sauverPosition);

// --- Steps on the table of the operation in progress (XiTableCourante), used by the operations above.

// The handle's bookkeeping; nil for a nil handle.
const TypeEnteteXi* Entete(const void* table);
// Address of a stored record (1..capacity), nil outside.
uint8_t* AdresseEnregistrement(uint32_t numero);
// Compares two whole records (stored or buffer) column by column in an order; 0 for order 0.
int32_t ComparerCle(int32_t ordre, const void* a, const void* b);
// The first position whose (key, number) is not below (the key of `cle`, numero). In order 0 without
// the whole range, number 0 answers 0.
uint32_t ChercherPosition(int32_t ordre, const void* cle, uint32_t numero, bool arretSurNumero,
                          bool toutIntervalle);
// True when the current number is 0, above count + free numbers, or a free number.
bool EnregistrementInvalide();
// True when the order holds, first among the records of the key of `cle`, a record other than `numero`.
bool EstDoublon(int32_t ordre, const void* cle, uint32_t numero);
// Tests every unique order for a duplicate of the buffer; sets XiOrdreDoublon (0 when none).
bool ChercherDoublon();

}  // namespace Xi
