#include "core/records/Xi.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>

#include "core/values/Collation.h"

namespace Xi {

thread_local constinit TypeEnteteXi* XiTableCourante = nullptr;
thread_local constinit int32_t XiStatut = 0;
thread_local constinit int32_t XiOrdreDoublon = 0;

namespace {

constexpr std::size_t kDecalageTampon = sizeof(TypeEnteteXi);
static_assert(kDecalageTampon % alignof(TypeEnteteXi) == 0);
constexpr std::align_val_t kAlignement{alignof(TypeEnteteXi)};

// Every operation starts here: the table of the operation in progress comes from its handle.
TypeEnteteXi* Prendre(const void* table) {
  TypeEnteteXi* h = table == nullptr
                        ? nullptr
                        : reinterpret_cast<TypeEnteteXi*>(
                              const_cast<uint8_t*>(static_cast<const uint8_t*>(table)) - kDecalageTampon);
  XiTableCourante = h;
  return h;
}

bool OrdreValide(const TypeEnteteXi* h, int32_t ordre) {
  return ordre >= 0 && static_cast<uint32_t>(ordre) < h->NombreOrdres;
}

uint32_t PlusHautNumero(const TypeEnteteXi* h) { return h->Nombre + h->NumerosLibres.Nombre; }

// --- Storage

uint8_t* Adresse(const TypeEnteteXi* h, uint32_t numero) {
  const uint32_t i = numero - 1;
  return h->Blocs[i / h->EnregistrementsParBloc].Enregistrements +
         std::size_t{i % h->EnregistrementsParBloc} * h->TailleEnregistrement;
}

TypeBlocXi& BlocDe(TypeEnteteXi* h, uint32_t numero) {
  return h->Blocs[(numero - 1) / h->EnregistrementsParBloc];
}

void AjouterBloc(TypeEnteteXi* h) {
  TypeBlocXi bloc;
  bloc.Enregistrements = static_cast<uint8_t*>(
      Memoire::Allouer(std::size_t{h->EnregistrementsParBloc} * h->TailleEnregistrement));
  h->Blocs.push_back(bloc);
  ++h->NombreBlocs;
  h->Capacite += h->EnregistrementsParBloc;
}

void RetirerBloc(TypeEnteteXi* h) {
  std::free(h->Blocs.back().Enregistrements);
  h->Blocs.pop_back();
  --h->NombreBlocs;
  h->Capacite -= h->EnregistrementsParBloc;
}

void LibererBlocs(TypeEnteteXi* h) {
  while (h->NombreBlocs > 0) RetirerBloc(h);
}

// --- Keys

int32_t Comparer(const TypeEnteteXi* h, int32_t ordre, const uint8_t* a, const uint8_t* b) {
  const TypeOrdreXi& o = h->Ordres[ordre];
  for (const TypeColonneXi& col : o.Colonnes) {
    if (col.Comparaison == nullptr) continue;
    if (int32_t c = col.Comparaison(a + col.Decalage, b + col.Decalage, col.Taille)) return c;
  }
  return 0;
}

uint32_t Charge32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

// The first 64 bits of a column's order-preserving encoding, left-aligned.
uint64_t Encodage(const TypePartiePrefixeXi& part, const uint8_t* champ) {
  switch (part.Sorte) {
    case TypePrefixeXi::Cardinal:
      return uint64_t{Charge32(champ)} << 32;
    case TypePrefixeXi::Entier:
      return uint64_t{Charge32(champ) ^ 0x80000000u} << 32;
    case TypePrefixeXi::Octet:
      return uint64_t{champ[0]} << 56;
    case TypePrefixeXi::OctetDecroissant:
      return uint64_t{255u - champ[0]} << 56;
    case TypePrefixeXi::Octets: {
      uint64_t e = 0;
      const int32_t n = std::min(part.Taille, 8);
      for (int32_t i = 0; i < 8; ++i) e = (e << 8) | (i < n ? champ[i] : 0u);
      return e;
    }
    case TypePrefixeXi::Cardinaux:
      return uint64_t{Charge32(champ)} << 32 | (part.Taille >= 8 ? Charge32(champ + 4) : 0u);
    case TypePrefixeXi::Chaine: {
      const std::size_t longueur = std::min<std::size_t>(champ[0], static_cast<std::size_t>(part.Taille - 1));
      return Collation::PrimaryPrefix(std::string_view(reinterpret_cast<const char*>(champ + 1), longueur));
    }
    case TypePrefixeXi::Aucun:
      break;
  }
  return 0;
}

// The order's key prefix of a record: the parts one after the other, left-aligned. Entries whose
// prefixes differ sort as their prefixes.
uint64_t Prefixe(const TypeOrdreXi& o, const uint8_t* enregistrement) {
  uint64_t prefixe = 0;
  for (uint8_t i = 0; i < o.PartiesPrefixe; ++i) {
    const TypePartiePrefixeXi& part = o.Prefixe[i];
    const uint64_t bits = Encodage(part, enregistrement + part.Decalage) >> (64 - part.Bits);
    prefixe = part.Bits == 64 ? bits : (prefixe << part.Bits) | bits;
  }
  return o.BitsPrefixe == 0 || o.BitsPrefixe == 64 ? prefixe : prefixe << (64 - o.BitsPrefixe);
}

// The probe of a search in an order >= 1: tells whether an entry sorts before (key of cle, numero).
class Sonde {
 public:
  Sonde(const TypeEnteteXi* h, int32_t ordre, const uint8_t* cle, uint32_t numero)
      : h_(h),
        ordre_(ordre),
        complet_(h->Ordres[ordre].PrefixeComplet),
        cle_(cle),
        numero_(numero),
        prefixe_(Prefixe(h->Ordres[ordre], cle)) {}

  uint64_t PrefixeCle() const { return prefixe_; }

  bool operator()(uint64_t prefixe, uint32_t numero) const {
    if (prefixe != prefixe_) return prefixe < prefixe_;
    if (!complet_) {
      const int32_t c = Comparer(h_, ordre_, Adresse(h_, numero), cle_);
      if (c != 0) return c < 0;
    }
    return numero < numero_;
  }

 private:
  const TypeEnteteXi* h_;
  int32_t ordre_;
  bool complet_;
  const uint8_t* cle_;
  uint32_t numero_;
  uint64_t prefixe_;
};

// --- Order 0: the record numbers ascending, known from the count and the free numbers.

// Free numbers below n.
uint32_t LibresAvant(const TypeEnteteXi* h, uint32_t n) {
  return Memoire::Rechercher(n, h->NumerosLibres) - 1;
}

uint32_t NumeroOrdreZero(const TypeEnteteXi* h, uint32_t position) {
  // The number n at a position p is p + j, j being the free numbers below n: the first j whose
  // free number F[j] (0-based) is above p + j.
  const TypeEnsembleMemoire& libres = h->NumerosLibres;
  uint32_t bas = 0, haut = libres.Nombre;
  while (bas < haut) {
    const uint32_t milieu = (bas + haut) / 2;
    if (libres.Elements[milieu] - milieu > position)
      haut = milieu;
    else
      bas = milieu + 1;
  }
  return position + bas;
}

uint32_t PositionOrdreZero(const TypeEnteteXi* h, uint32_t numero, bool toutIntervalle) {
  if (numero == 0) return toutIntervalle ? 1 : 0;
  if (numero > PlusHautNumero(h)) return h->Nombre + 1;
  return numero - LibresAvant(h, numero);
}

uint32_t NumeroA(TypeEnteteXi* h, int32_t ordre, uint32_t position) {
  return ordre == 0 ? NumeroOrdreZero(h, position) : h->Ordres[ordre].Numeros.NumberAt(position);
}

uint32_t ChercherPositionDans(TypeEnteteXi* h, int32_t ordre, const uint8_t* cle, uint32_t numero, bool arret,
                              bool toutIntervalle) {
  if (ordre == 0) return PositionOrdreZero(h, numero, toutIntervalle);
  OrderTree& arbre = h->Ordres[ordre].Numeros;
  uint32_t position;
  if (arret && arbre.LastReachedHolds(numero, position)) return position;
  // Only the record's own key may steer the search to the subtree that starts with its number.
  return arbre.LowerBound(Sonde(h, ordre, cle, numero), arret ? numero : 0);
}

// --- Current record

bool Invalide(const TypeEnteteXi* h) {
  const uint32_t n = h->NumeroCourant;
  uint32_t position;
  return n == 0 || n > PlusHautNumero(h) || Memoire::Chercher(n, h->NumerosLibres, position);
}

bool Charger(TypeEnteteXi* h, uint32_t numero, bool verifier) {
  h->NumeroCourant = numero;
  if (numero >= 1 && numero <= h->Capacite && !(verifier && Invalide(h))) {
    uint8_t* stocke = Adresse(h, numero);
    XiStatut = (h->OrdreCourant == -1 || Comparer(h, h->OrdreCourant, h->Tampon, stocke) == 0)
                   ? kStatutEgal
                   : kStatutDifferent;
    std::memcpy(h->Tampon, stocke, h->TailleEnregistrement);
    h->EnregistrementCourant = stocke;
    return true;
  }
  h->NumeroCourant = 0;
  h->EnregistrementCourant = nullptr;
  XiStatut = kStatutAucun;
  std::memset(h->Tampon, 0, h->TailleEnregistrement);
  return false;
}

bool AllerAPositionDans(TypeEnteteXi* h, int32_t ordre, uint32_t position) {
  if (!OrdreValide(h, ordre)) {
    h->OrdreCourant = -1;
    h->PositionCourante = 0;
    return Charger(h, 0, false);
  }
  h->OrdreCourant = ordre;
  if (position >= 1 && position <= h->Nombre) {
    h->PositionCourante = position;
    return Charger(h, NumeroA(h, ordre, position), false);
  }
  h->PositionCourante = 0;
  return Charger(h, 0, false);
}

uint32_t PositionDans(TypeEnteteXi* h, int32_t ordre) {
  if (!OrdreValide(h, ordre)) return 0;
  if (ordre == h->OrdreCourant) return h->PositionCourante;
  h->PositionCourante =
      h->EnregistrementCourant == nullptr
          ? 0
          : ChercherPositionDans(h, ordre, h->EnregistrementCourant, h->NumeroCourant, true, false);
  h->OrdreCourant = ordre;
  return h->PositionCourante;
}

bool EstDoublonDans(TypeEnteteXi* h, int32_t ordre, const uint8_t* cle, uint32_t numero) {
  const uint32_t p = ChercherPositionDans(h, ordre, cle, 0, false, false);
  if (p == 0 || p > h->Nombre) return false;
  const uint32_t trouve = NumeroA(h, ordre, p);
  return trouve != numero && Comparer(h, ordre, Adresse(h, trouve), cle) == 0;
}

bool ChercherDoublonDans(TypeEnteteXi* h) {
  XiOrdreDoublon = 0;
  for (uint32_t o = 1; o < h->NombreOrdres; ++o) {
    if (h->Ordres[o].Unique && EstDoublonDans(h, static_cast<int32_t>(o), h->Tampon, h->NumeroCourant)) {
      XiOrdreDoublon = static_cast<int32_t>(o);
      return true;
    }
  }
  return false;
}

// --- Records entering and leaving the orders

// The new record (current number, content in the buffer) is stored and enters every order.
void InsererDansOrdres(TypeEnteteXi* h) {
  const uint32_t n = h->NumeroCourant;
  uint8_t* stocke = Adresse(h, n);
  std::memcpy(stocke, h->Tampon, h->TailleEnregistrement);
  h->EnregistrementCourant = stocke;
  ++BlocDe(h, n).Utilises;
  for (uint32_t o = 1; o < h->NombreOrdres; ++o) {
    TypeOrdreXi& ordre = h->Ordres[o];
    Sonde sonde(h, static_cast<int32_t>(o), h->Tampon, n);
    ordre.Numeros.Insert(sonde, sonde.PrefixeCle(), n);
  }
  ++h->Nombre;  // order 0 follows from the count and the free numbers
}

// A record leaves an order, found by its stored key; should a comparison routine that is not a
// consistent order hide it, by its number, so that no order keeps a record that is gone.
void RetirerDeLOrdre(TypeEnteteXi* h, int32_t ordre, const uint8_t* cle, uint32_t numero) {
  OrderTree& arbre = h->Ordres[ordre].Numeros;
  if (!arbre.Remove(Sonde(h, ordre, cle, numero), numero)) arbre.RemoveNumber(numero);
}

// The current number becomes free, unless it is the highest: then the free numbers above the new
// highest are dropped, largest first.
void LibererNumero(TypeEnteteXi* h, uint32_t c) {
  TypeEnsembleMemoire& libres = h->NumerosLibres;
  if (PlusHautNumero(h) > c) {
    Memoire::Inserer(c, libres);
    return;
  }
  const uint32_t nouveauPlusHaut = h->Nombre >= 2 ? NumeroOrdreZero(h, h->Nombre - 1) : 0;
  while (libres.Nombre > 0 && libres.Elements[libres.Nombre - 1] > nouveauPlusHaut)
    Memoire::SupprimerA(libres.Nombre, libres);
}

void RetirerDesOrdres(TypeEnteteXi* h) {
  const uint32_t c = h->NumeroCourant;
  LibererNumero(h, c);
  uint8_t* stocke = Adresse(h, c);
  std::memcpy(h->Tampon, stocke, h->TailleEnregistrement);
  for (uint32_t o = 1; o < h->NombreOrdres; ++o) RetirerDeLOrdre(h, static_cast<int32_t>(o), h->Tampon, c);
  --h->Nombre;
  std::memset(stocke, 0, h->TailleEnregistrement);
  --BlocDe(h, c).Utilises;
  while (h->NombreBlocs > 0 && h->Blocs.back().Utilises == 0) RetirerBloc(h);
  h->NumeroCourant = 0;
  h->EnregistrementCourant = nullptr;
}

// The current record moves, in every order whose key it changes, to the place of the buffer's key.
void DeplacerDansOrdres(TypeEnteteXi* h, const uint8_t* stocke) {
  const uint32_t n = h->NumeroCourant;
  for (uint32_t o = 1; o < h->NombreOrdres; ++o) {
    const int32_t ordre = static_cast<int32_t>(o);
    if (Comparer(h, ordre, stocke, h->Tampon) == 0) continue;
    RetirerDeLOrdre(h, ordre, stocke, n);
    Sonde nouvelle(h, ordre, h->Tampon, n);
    h->Ordres[o].Numeros.Insert(nouvelle, nouvelle.PrefixeCle(), n);
  }
}

// --- Definition helpers

// Bytes that a known comparison reads from its field whatever size it is given.
int32_t LargeurLue(TypeComparaison comparaison, int32_t taille) {
  if (comparaison == &Comparai::ComparerCardinal || comparaison == &Comparai::ComparerEntier ||
      comparaison == &Comparai::ComparerEntierBis)
    return std::max(taille, 4);
  if (comparaison == &Comparai::ComparerOctet || comparaison == &Comparai::ComparerOctetDecroissant)
    return std::max(taille, 1);
  return taille;
}

// What a column gives to the prefix: its kind, the width of its encoding in bits (0 for a column that
// is always equal), and whether the encoding is the whole column. Unknown comparisons give nothing.
struct ApportPrefixe {
  TypePrefixeXi sorte = TypePrefixeXi::Aucun;
  int32_t bits = 0;
  bool entier = false;
};

ApportPrefixe ApportDe(const TypeColonneXi& col) {
  const TypeComparaison f = col.Comparaison;
  if (f == &Comparai::ComparerCardinal) return {TypePrefixeXi::Cardinal, 32, true};
  if (f == &Comparai::ComparerEntier || f == &Comparai::ComparerEntierBis)
    return {TypePrefixeXi::Entier, 32, true};
  if (f == &Comparai::ComparerOctet) return {TypePrefixeXi::Octet, 8, true};
  if (f == &Comparai::ComparerOctetDecroissant) return {TypePrefixeXi::OctetDecroissant, 8, true};
  if (f == &Comparai::ComparerOctets) return {TypePrefixeXi::Octets, 8 * std::max(col.Taille, 0), true};
  if (f == &Comparai::ComparerCardinaux)
    return {TypePrefixeXi::Cardinaux, 32 * std::max(col.Taille / 4, 0), true};
  if (f == &Comparai::ComparerChaineCourte) return {TypePrefixeXi::Chaine, 64, false};
  return {};
}

// Fills the prefix with the leading columns while bits remain; it is complete when every column
// went in whole.
void ChoisirPrefixe(TypeOrdreXi& o) {
  o.PartiesPrefixe = 0;
  o.BitsPrefixe = 0;
  bool complet = true;
  for (const TypeColonneXi& col : o.Colonnes) {
    const ApportPrefixe apport = ApportDe(col);
    if (apport.sorte == TypePrefixeXi::Aucun) {
      complet = false;
      break;
    }
    if (apport.bits == 0) continue;  // always equal
    const int32_t restants = 64 - o.BitsPrefixe;
    const int32_t pris = std::min(apport.bits, restants);
    o.Prefixe[o.PartiesPrefixe++] = {apport.sorte, static_cast<uint8_t>(pris), col.Decalage, col.Taille};
    o.BitsPrefixe = static_cast<uint8_t>(o.BitsPrefixe + pris);
    if (pris < apport.bits || !apport.entier) {
      complet = false;
      break;
    }
    if (o.BitsPrefixe == 64) {
      complet = &col == &o.Colonnes.back();
      break;
    }
  }
  o.PrefixeComplet = complet;
}

template <class Filtre, class Traitement>
bool ParcourirAvec(void* table, int32_t ordre, Filtre filtre, Traitement traitement, bool sauverPosition) {
  if (table == nullptr) return false;
  if (sauverPosition) SauverPosition(table);
  struct Collecte {
    TypeEnsembleMemoire numeros;
    Collecte() { Memoire::Initialiser(numeros); }
    ~Collecte() { Memoire::Liberer(numeros); }
  } collecte;
  Premier(table, ordre);
  while (XiStatut > 0) {
    if (filtre()) Memoire::Ajouter(NumeroCourant(table), collecte.numeros);
    Suivant(table, ordre);
  }
  bool reponse = false;
  for (uint32_t i = 0; i < collecte.numeros.Nombre && !reponse; ++i)
    if (AllerA(table, collecte.numeros.Elements[i]) && filtre()) reponse = traitement();
  if (sauverPosition) RestaurerPosition(table);
  return reponse;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Creation and definition

void Creer(void*& table, int32_t maximum, int32_t tailleEnregistrement, int32_t nombreOrdres) {
  table = nullptr;
  XiTableCourante = nullptr;
  const int64_t taille = (int64_t{tailleEnregistrement} + 1) / 2 * 2;
  if (tailleEnregistrement < 1 || taille > kTailleBlocMaximale || maximum < -1 || nombreOrdres < 0 ||
      nombreOrdres > kOrdresMaximum) {
    XiStatut = kStatutCreationRefusee;
    return;
  }
  const int64_t prevus = maximum <= 0 ? kEnregistrementsParBlocSansMaximum : maximum;
  const int64_t tailleBloc = std::min<int64_t>(taille * prevus, kTailleBlocMaximale);

  void* memoire = ::operator new(kDecalageTampon + static_cast<std::size_t>(taille), kAlignement);
  auto* h = new (memoire) TypeEnteteXi;
  h->Tampon = static_cast<uint8_t*>(memoire) + kDecalageTampon;
  std::memset(h->Tampon, 0, static_cast<std::size_t>(taille));
  h->TailleBloc = static_cast<int32_t>(tailleBloc);
  h->Maximum = maximum <= 0 ? -1 : maximum;
  h->TailleEnregistrement = static_cast<uint32_t>(taille);
  h->EnregistrementsParBloc = static_cast<uint32_t>(tailleBloc / taille);
  h->NombreOrdres = static_cast<uint32_t>(nombreOrdres) + 1;
  h->Ordres = std::make_unique<TypeOrdreXi[]>(h->NombreOrdres);
  Memoire::Initialiser(h->NumerosLibres);
  table = h->Tampon;
  XiTableCourante = h;
  XiStatut = kStatutAucun;
}

bool DefinirOrdre(void* table, int32_t ordre, int32_t nombreColonnes, bool unique) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr || !OrdreValide(h, ordre) || h->Nombre > 0 || nombreColonnes < 0 ||
      nombreColonnes > kColonnesMaximum)
    return false;
  if (ordre == 0) return nombreColonnes == 0 && !unique;  // the record-number order has no column
  TypeOrdreXi& o = h->Ordres[ordre];
  o.NombreColonnes = static_cast<uint32_t>(nombreColonnes);
  o.Colonnes.assign(o.NombreColonnes, TypeColonneXi{});
  o.Unique = unique;
  ChoisirPrefixe(o);
  o.Numeros.Clear();
  return true;
}

bool DefinirColonne(void* table, int32_t ordre, int32_t colonne, const void* champ, int32_t taille,
                    TypeComparaison comparaison) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr || ordre < 1 || !OrdreValide(h, ordre) || h->Nombre > 0 || comparaison == nullptr ||
      taille < 0)
    return false;
  TypeOrdreXi& o = h->Ordres[ordre];
  if (colonne < 1 || static_cast<uint32_t>(colonne) > o.NombreColonnes) return false;
  const auto debut = reinterpret_cast<uintptr_t>(h->Tampon);
  const auto adresse = reinterpret_cast<uintptr_t>(champ);
  if (adresse < debut) return false;
  const uintptr_t decalage = adresse - debut;
  const uint64_t largeur = static_cast<uint64_t>(LargeurLue(comparaison, taille));
  if (decalage > h->TailleEnregistrement || largeur > h->TailleEnregistrement - decalage) return false;
  if (comparaison == &Comparai::ComparerChaineCourte && taille < 1) return false;  // the length byte
  o.Colonnes[colonne - 1] = {comparaison, static_cast<int32_t>(decalage), taille};
  ChoisirPrefixe(o);
  return true;
}

void Detruire(void* table) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return;
  XiTableCourante = nullptr;
  LibererBlocs(h);
  Memoire::Liberer(h->NumerosLibres);
  h->~TypeEnteteXi();
  ::operator delete(h, kAlignement);
}

// ---------------------------------------------------------------------------------------------------
// Access

bool AllerA(void* table, uint32_t numero) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return (XiStatut = kStatutAucun), false;
  h->OrdreCourant = -1;
  return Charger(h, numero, true);
}

bool AllerAPosition(void* table, int32_t ordre, uint32_t position) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return (XiStatut = kStatutAucun), false;
  return AllerAPositionDans(h, ordre, position);
}

uint32_t Chercher(void* table, int32_t ordre) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return (XiStatut = kStatutAucun), 0;
  if (!OrdreValide(h, ordre)) {
    AllerAPositionDans(h, ordre, 0);
    return 0;
  }
  if (ordre == 0) {
    const uint32_t p = ChercherPositionDans(h, ordre, h->Tampon, 0, false, false);
    AllerAPositionDans(h, ordre, p);
    return p;
  }
  // The search leaves the tree on the entry found: its number and prefix settle the status without
  // a second descent, and without reading the record when the prefix is the whole key.
  TypeOrdreXi& o = h->Ordres[ordre];
  const Sonde sonde(h, ordre, h->Tampon, 0);
  const uint32_t p = o.PrefixeComplet ? o.Numeros.LowerBoundPrefix(sonde.PrefixeCle()) : o.Numeros.LowerBound(sonde, 0);
  uint32_t numero;
  uint64_t prefixe;
  if (p > h->Nombre || !o.Numeros.LastReached(numero, prefixe)) {
    AllerAPositionDans(h, ordre, p);
    return p;
  }
  h->OrdreCourant = ordre;
  h->PositionCourante = p;
  h->NumeroCourant = numero;
  uint8_t* stocke = Adresse(h, numero);
  const bool egal = o.PrefixeComplet ? prefixe == sonde.PrefixeCle() : Comparer(h, ordre, h->Tampon, stocke) == 0;
  XiStatut = egal ? kStatutEgal : kStatutDifferent;
  std::memcpy(h->Tampon, stocke, h->TailleEnregistrement);
  h->EnregistrementCourant = stocke;
  return p;
}

bool Trouver(void* table, int32_t ordre) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr || !OrdreValide(h, ordre)) return (XiStatut = kStatutAucun), false;
  TypeOrdreXi& o = h->Ordres[ordre];
  const uint32_t courant = h->NumeroCourant;
  uint32_t numero = 0;
  bool trouve;
  if (ordre != 0 && o.PrefixeComplet) {
    // The prefix is the whole key: the entry reached tells equality without a record being read.
    const uint64_t cle = Prefixe(o, h->Tampon);
    uint64_t prefixe;
    trouve = o.Numeros.FirstNotBelowPrefix(cle, numero, prefixe) && prefixe == cle;
  } else {
    Chercher(table, ordre);
    trouve = XiStatut == kStatutEgal;
    numero = h->NumeroCourant;
  }
  h->OrdreCourant = -1;
  if (trouve) return Charger(h, numero, false);
  (void)Charger(h, courant, true);
  XiStatut = kStatutAucun;
  return false;
}

uint32_t Position(void* table, int32_t ordre) {
  TypeEnteteXi* h = Prendre(table);
  return h == nullptr ? 0 : PositionDans(h, ordre);
}

uint32_t PositionDeNumero(void* table, uint32_t numero, int32_t ordre) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr || !OrdreValide(h, ordre)) return 0;
  SauverPosition(table);
  AllerA(table, numero);
  const uint32_t p = PositionDans(h, ordre);
  RestaurerPosition(table);
  return p;
}

uint32_t NumeroAPosition(void* table, uint32_t position, int32_t ordre) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr || !OrdreValide(h, ordre)) return 0;
  SauverPosition(table);
  AllerAPositionDans(h, ordre, position);
  const uint32_t n = h->NumeroCourant;
  RestaurerPosition(table);
  return n;
}

bool Premier(void* table, int32_t ordre) { return AllerAPosition(table, ordre, 1); }

bool Dernier(void* table, int32_t ordre) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return (XiStatut = kStatutAucun), false;
  return AllerAPositionDans(h, ordre, h->Nombre);
}

bool Suivant(void* table, int32_t ordre) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return (XiStatut = kStatutAucun), false;
  return AllerAPositionDans(h, ordre, PositionDans(h, ordre) + 1);
}

bool Precedent(void* table, int32_t ordre) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return (XiStatut = kStatutAucun), false;
  const uint32_t p = PositionDans(h, ordre);
  return AllerAPositionDans(h, ordre, p > 0 ? p - 1 : h->Nombre);
}

bool Inserer(void* table) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return (XiStatut = kStatutMaximum), false;
  const uint32_t ancien = h->NumeroCourant;
  TypeEnsembleMemoire& libres = h->NumerosLibres;
  h->NumeroCourant = libres.Nombre > 0 ? libres.Elements[0] : h->Nombre + 1;
  if (h->Maximum >= 0 && h->Nombre >= static_cast<uint32_t>(h->Maximum)) {
    h->NumeroCourant = ancien;
    return (XiStatut = kStatutMaximum), false;
  }
  if (ChercherDoublonDans(h)) {
    h->NumeroCourant = ancien;
    return (XiStatut = kStatutDoublon), false;
  }
  if (libres.Nombre > 0) Memoire::SupprimerA(1, libres);
  if (h->NumeroCourant > h->Capacite) AjouterBloc(h);
  InsererDansOrdres(h);
  h->OrdreCourant = -1;
  XiStatut = kStatutEgal;
  return true;
}

bool Modifier(void* table) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr || Invalide(h)) return (XiStatut = kStatutModificationInvalide), false;
  if (ChercherDoublonDans(h)) return (XiStatut = kStatutModificationDoublon), false;
  uint8_t* stocke = Adresse(h, h->NumeroCourant);
  DeplacerDansOrdres(h, stocke);
  std::memcpy(stocke, h->Tampon, h->TailleEnregistrement);
  h->EnregistrementCourant = stocke;
  h->OrdreCourant = -1;
  XiStatut = kStatutAucun;
  return true;
}

bool Supprimer(void* table) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr || Invalide(h)) return (XiStatut = kStatutSuppressionInvalide), false;
  RetirerDesOrdres(h);
  std::memset(h->Tampon, 0, h->TailleEnregistrement);
  XiStatut = kStatutAucun;
  return true;
}

uint32_t NumeroCourant(const void* table) {
  const TypeEnteteXi* h = Prendre(table);
  return h == nullptr ? 0 : h->NumeroCourant;
}

uint32_t Nombre(const void* table) {
  const TypeEnteteXi* h = Prendre(table);
  return h == nullptr ? 0 : h->Nombre;
}

void SauverPosition(void* table) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr) return;
  h->PositionsSauvees.Ajouter(reinterpret_cast<void*>(static_cast<uintptr_t>(h->NumeroCourant)));
}

bool RestaurerPosition(void* table) {
  TypeEnteteXi* h = Prendre(table);
  if (h == nullptr || !h->PositionsSauvees.NonVide()) return false;
  const auto numero = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h->PositionsSauvees.Extraire()));
  h->OrdreCourant = -1;
  return Charger(h, numero, true);
}

bool Parcourir(void* table, int32_t ordre, TypeFonctionXi traitement, intptr_t argTraitement,
               TypeFonctionXi filtre, intptr_t argFiltre, bool sauverPosition) {
  return ParcourirAvec(
      table, ordre, [&] { return filtre == nullptr || filtre(argFiltre); },
      [&] { return traitement != nullptr && traitement(argTraitement); }, sauverPosition);
}

bool ParcourirMethode(void* table, int32_t ordre, intptr_t argument, TypeMethodeXi traitement,
                      TypeMethodeXi filtre, intptr_t argFiltre, bool sauverPosition) {
  return ParcourirAvec(
      table, ordre, [&] { return !filtre || filtre(argFiltre); },
      [&] { return traitement && traitement(argument); }, sauverPosition);
}

// ---------------------------------------------------------------------------------------------------
// Steps on the table of the operation in progress

const TypeEnteteXi* Entete(const void* table) { return Prendre(table); }

uint8_t* AdresseEnregistrement(uint32_t numero) {
  const TypeEnteteXi* h = XiTableCourante;
  if (h == nullptr || numero < 1 || numero > h->Capacite) return nullptr;
  return Adresse(h, numero);
}

int32_t ComparerCle(int32_t ordre, const void* a, const void* b) {
  const TypeEnteteXi* h = XiTableCourante;
  if (h == nullptr || !OrdreValide(h, ordre)) return 0;
  return Comparer(h, ordre, static_cast<const uint8_t*>(a), static_cast<const uint8_t*>(b));
}

uint32_t ChercherPosition(int32_t ordre, const void* cle, uint32_t numero, bool arretSurNumero,
                          bool toutIntervalle) {
  TypeEnteteXi* h = XiTableCourante;
  if (h == nullptr || !OrdreValide(h, ordre)) return 0;
  return ChercherPositionDans(h, ordre, static_cast<const uint8_t*>(cle), numero, arretSurNumero,
                              toutIntervalle);
}

bool EnregistrementInvalide() {
  const TypeEnteteXi* h = XiTableCourante;
  return h == nullptr || Invalide(h);
}

bool EstDoublon(int32_t ordre, const void* cle, uint32_t numero) {
  TypeEnteteXi* h = XiTableCourante;
  if (h == nullptr || ordre < 1 || !OrdreValide(h, ordre)) return false;
  return EstDoublonDans(h, ordre, static_cast<const uint8_t*>(cle), numero);
}

bool ChercherDoublon() {
  TypeEnteteXi* h = XiTableCourante;
  if (h == nullptr) return (XiOrdreDoublon = 0), false;
  return ChercherDoublonDans(h);
}

}  // namespace Xi
