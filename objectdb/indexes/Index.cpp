#include "objectdb/indexes/Index.h"

#include "objectdb/indexes/RechercheIndex.h"

#include <algorithm>

#include "core/objects/Exceptions.h"
#include "core/values/Ansi1252.h"
#include "core/values/Format.h"
#include "objectdb/articles/Article.h"
#include "objectdb/articles/ListeArticles.h"
#include "objectdb/columns/ChampReference.h"
#include "objectdb/columns/CustomChamp.h"
#include "objectdb/tables/CustomTable.h"

NV_DEFINE_CLASS(TIndex, TCustomTracable)
NV_DEFINE_CLASS(TIndexReferences, TIndex)
NV_DEFINE_CLASS(TParametreAssignationIndex, TCustomParametre)

namespace {

constexpr int32_t kPageLignes = 512;
// Up to this many pending rows are placed one by one (a binary search and one shift each); more are
// sorted among themselves and merged with the placed rows in one pass.
constexpr int32_t kFusionUnParUn = 32;

int8_t Signe(int8_t r) { return r < 0 ? -1 : (r > 0 ? 1 : 0); }

bool Rencontre(const TypeEnsembleOctets& A, const TypeEnsembleOctets& B) {
  for (std::size_t i = 0; i < A.size(); ++i)
    if ((A[i] & B[i]) != 0) return true;
  return false;
}

constexpr TypeEnsembleOctets kAucunChamp{};

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Life

TIndex::TIndex(const std::string& Nom, TCustomTable* Table, const std::vector<TypeDefinitionCle>& Cles,
               TypeRegleUnicite Regle) {
  Creer(Nom, Table, Cles, Regle);
}

TIndex::TIndex(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& Triples,
               TypeRegleUnicite Regle) {
  std::vector<TypeDefinitionCle> cles;
  for (std::size_t i = 0; i + 2 < Triples.size(); i += 3) cles.push_back({Triples[i], Triples[i + 1] != 0, Triples[i + 2]});
  Creer(Nom, Table, cles, Regle);
}

void TIndex::InitialiserBase(const std::string& Nom_, TCustomTable* Table_) {
  Etat = EI_Valide;
  ChampsConcernes = kAucunChamp;
  LignesTriees = new TTableauIndices(kPageLignes);
  LignesATrier = new TTableauIndices(kPageLignes);
  Nom = Nom_;
  Table = Table_;
}

void TIndex::Creer(const std::string& Nom_, TCustomTable* Table_, const std::vector<TypeDefinitionCle>& Definitions,
                   TypeRegleUnicite Regle) {
  InitialiserBase(Nom_, Table_);
  if (Table == nullptr) return;
  RegleUnicite = Regle;
  NombreChamps = 0;
  try {
    for (const TypeDefinitionCle& d : Definitions) AjouterCle(d.NumeroChamp, d.Decroissant, d.Mode);
  } catch (...) {
    delete LignesTriees;
    delete LignesATrier;
    throw;
  }
  // The table's rows in row order, the order of its default index.
  for (int32_t l = 0, trouvees = 0; trouvees < Table->NombreArticles && l < static_cast<int32_t>(kAucuneLigne); ++l) {
    if (!Table->LigneExiste(l)) continue;
    ++trouvees;
    LignesATrier->Inserer(static_cast<uint32_t>(l), LignesATrier->NombreElements() + 1);
  }
  if (RegleUnicite != ruiSansRegle) (void)Trier();
}

TIndex::~TIndex() {
  Etat = EI_Detruite;
  Cles.clear();
  delete LignesTriees;
  delete LignesATrier;
}

void TIndex::AjouterCle(int32_t NumeroChamp, bool Decroissant, int32_t Mode) {
  TypeCleIndex cle;
  cle.Champ = Table != nullptr ? Table->GetChamp(NumeroChamp) : nullptr;
  if (cle.Champ == nullptr)
    throw Exception(Format("Index %s : la table n'a pas de champ %d", {Nom, NumeroChamp}));
  cle.NumeroChamp = NumeroChamp;
  cle.Decroissant = Decroissant ? 1 : 0;
  cle.Mode = Mode;
  Cles.push_back(cle);
  if (NumeroChamp >= 0 && NumeroChamp <= 255)
    ChampsConcernes[static_cast<std::size_t>(NumeroChamp / 8)] |= static_cast<uint8_t>(1u << (NumeroChamp % 8));
  ++NombreChamps;
  PreparerClesPlacees();
}

void TIndex::PreparerClesPlacees() {
  clesPlacees_ = Cles.size() == 1 && Cles.front().Champ != nullptr ? Cles.front().Champ->CreerClesIndex() : nullptr;
}

void TIndex::Placer(uint32_t Ligne, int32_t Position) {
  LignesTriees->Inserer(Ligne, Position);
  if (clesPlacees_) clesPlacees_->Inserer(Ligne, Position);
}

void TIndex::RetirerPosition(int32_t Position) {
  (void)LignesTriees->SupprimerIndice(Position);
  if (clesPlacees_) clesPlacees_->Supprimer(Position);
}

void TIndex::RemplacerPlacees(std::vector<uint32_t> Lignes) {
  LignesTriees->Remplacer(std::move(Lignes));
  if (clesPlacees_) clesPlacees_->Perimer();
}

void TIndex::Assigner(TIndex* Source, TBase* BaseSource, TBase* BaseDestination, TCustomTable*,
                     TCustomTable* TableDestination) {
  if (LignesTriees == nullptr) LignesTriees = new TTableauIndices(kPageLignes);
  if (LignesATrier == nullptr) LignesATrier = new TTableauIndices(kPageLignes);
  Nom = Source->Nom;
  Etat = Source->Etat;
  RegleUnicite = Source->RegleUnicite;
  ChampsConcernes = Source->ChampsConcernes;
  NombreChamps = Source->NombreChamps;
  Cles = Source->Cles;
  for (TypeCleIndex& cle : Cles) cle.Champ = TableDestination->GetChamp(cle.NumeroChamp);
  Table = TableDestination;
  LignesTriees->Assigner(*Source->LignesTriees);
  PreparerClesPlacees();
  LignesATrier->Assigner(*Source->LignesATrier);
  // In the copy of a base, references designate the copies of their tables, which need not be in
  // their models' order: a key with a reference part is placed again at the next search.
  const bool cleReference = std::any_of(Source->Cles.begin(), Source->Cles.end(), [](const TypeCleIndex& cle) {
    return cle.Champ != nullptr && cle.Champ->EstReference();
  });
  if (BaseSource != BaseDestination && cleReference) Reinitialiser();
}

void TIndex::Reinitialiser() {
  std::vector<uint32_t> lignes(LignesTriees->Donnees(), LignesTriees->Donnees() + LignesTriees->NombreElements());
  lignes.insert(lignes.end(), LignesATrier->Donnees(), LignesATrier->Donnees() + LignesATrier->NombreElements());
  std::sort(lignes.begin(), lignes.end());
  RemplacerPlacees({});
  LignesATrier->Remplacer(std::move(lignes));
}

// ---------------------------------------------------------------------------------------------------
// Comparisons

int8_t TIndex::ComparerLignes(uint32_t L1, uint32_t L2) {
  for (const TypeCleIndex& cle : Cles) {
    const int8_t r = Signe(cle.Champ->ComparerLignes(cle.Champ, static_cast<int32_t>(L1), static_cast<int32_t>(L2),
                                                     cle.Mode, nullptr));
    if (r != 0) return cle.Decroissant ? static_cast<int8_t>(-r) : r;
  }
  return 0;
}

int8_t TIndex::ComparerArticle(TArticle* Article, uint32_t L2) {
  for (const TypeCleIndex& cle : Cles) {
    const int8_t r = Signe(cle.Champ->ComparerLignes(Article->Table->GetChamp(cle.NumeroChamp),
                                                     static_cast<int32_t>(Article->IndiceArticle),
                                                     static_cast<int32_t>(L2), cle.Mode, nullptr));
    if (r != 0) return cle.Decroissant ? static_cast<int8_t>(-r) : r;
  }
  return 0;
}

// ComparerArticle with the article's key columns looked up once for a whole search.
int8_t TIndex::ComparerColonnes(TCustomChamp* const* Colonnes, int32_t LigneArticle, uint32_t L2) {
  for (std::size_t i = 0; i < Cles.size(); ++i) {
    const TypeCleIndex& cle = Cles[i];
    const int8_t r =
        Signe(cle.Champ->ComparerLignes(Colonnes[i], LigneArticle, static_cast<int32_t>(L2), cle.Mode, nullptr));
    if (r != 0) return cle.Decroissant ? static_cast<int8_t>(-r) : r;
  }
  return 0;
}

bool TIndex::ClesLigneAbsentes(uint32_t Ligne) {
  for (const TypeCleIndex& cle : Cles)
    if (!cle.Champ->ValeurAbsente(static_cast<int32_t>(Ligne))) return false;
  return true;
}

bool TIndex::ClesArticleAbsentes(TArticle* Article) {
  for (const TypeCleIndex& cle : Cles)
    if (!Article->Table->GetChamp(cle.NumeroChamp)->ValeurAbsente(static_cast<int32_t>(Article->IndiceArticle)))
      return false;
  return true;
}

bool TIndex::Concerne(const TypeEnsembleOctets& ChampsModifies) const { return Rencontre(ChampsModifies, ChampsConcernes); }

bool TIndex::Refuse(uint32_t Ligne, bool Doublon) {
  if (RegleUnicite == ruiSansRegle || !Doublon) return false;
  return !(RegleUnicite == ruiCleUniqueSiNonNulle && ClesLigneAbsentes(Ligne));
}

// ---------------------------------------------------------------------------------------------------
// Placement

void TIndex::ChercherPosition(uint32_t Ligne, int32_t& Position, bool& Doublon, bool& Presente) {
  Position = static_cast<int32_t>(kAucuneLigne);
  Doublon = false;
  Presente = false;
  const uint32_t* triees = LignesTriees->Donnees();
  int32_t lo = 0, hi = LignesTriees->NombreElements() + 1;
  while (hi > lo + 1) {
    const int32_t mid = lo + (hi - lo) / 2;
    const uint32_t r = triees[mid - 1];
    if (r == Ligne) {
      Position = mid;
      Presente = true;
      return;
    }
    const int8_t c = ComparerLignes(Ligne, r);
    if (c < 0) {
      hi = mid;
    } else if (c > 0) {
      lo = mid;
    } else {
      Doublon = true;
      if (r <= Ligne) lo = mid;
      else hi = mid;
    }
  }
  Position = hi;
}

bool TIndex::InsererLigne(uint32_t Ligne, const TypeEnsembleOctets& ChampsModifies, bool Nouvelle, bool Forcer) {
  if (!Forcer && Etat != EI_Valide) {
    if (Etat == EI_EnChargement) (void)LignesATrier->Ajouter(Ligne);
    return true;
  }
  const bool concerne = Nouvelle || Concerne(ChampsModifies);
  if (Forcer || (RegleUnicite != ruiSansRegle && concerne)) {
    int32_t position;
    bool doublon, presente;
    ChercherPosition(Ligne, position, doublon, presente);
    if (presente) {
      (void)LignesATrier->Supprimer(Ligne);
      return true;
    }
    if (Refuse(Ligne, doublon)) return false;
    Placer(Ligne, position);
    (void)LignesATrier->Supprimer(Ligne);
    return true;
  }
  if (concerne) (void)LignesATrier->Ajouter(Ligne);
  return true;
}

void TIndex::RetirerLigne(uint32_t Ligne, const TypeEnsembleOctets& ChampsModifies, bool Forcer) {
  bool enAttente;
  {
    // Whether the row is pending: the ordered set answers by binary search.
    const uint32_t* attente = LignesATrier->Donnees();
    enAttente = std::binary_search(attente, attente + LignesATrier->NombreElements(), Ligne);
  }
  const bool placee = (Forcer || Concerne(ChampsModifies)) && !enAttente;
  if (placee) {
    const int32_t position = PositionDeLigne(Ligne);
    if (position >= 1 && position <= LignesTriees->NombreElements() && LignesTriees->Elements(position) == Ligne) {
      RetirerPosition(position);
      if (!Forcer) (void)LignesATrier->Ajouter(Ligne);
    }
  } else if (Forcer) {
    (void)LignesATrier->Supprimer(Ligne);
  }
}

bool TIndex::Doublon(TArticle* Article, const TypeEnsembleOctets& ChampsModifies) {
  if (RegleUnicite == ruiSansRegle || !Concerne(ChampsModifies)) return false;
  int32_t position;
  bool doublon = false;
  (void)ChercherArticle(Article, position, doublon);
  if (doublon && RegleUnicite == ruiCleUniqueSiNonNulle && ClesArticleAbsentes(Article)) doublon = false;
  return doublon;
}

// A merge places every pending row: a row that the rule refuses is a row of the table all the same,
// and leaving it pending would hide it (and every row after it) from the searches. It is placed
// beside its equal keys and counted.
int32_t TIndex::Trier() {
  // Stale computed keys: every row is placed again.
  if (std::any_of(Cles.begin(), Cles.end(), [](const TypeCleIndex& cle) { return cle.Champ->CalculsPerimes(); }))
    Reinitialiser();
  const int32_t attente = LignesATrier->NombreElements();
  if (attente == 0) return 0;
  DerniersRefus = 0;
  if (attente > kFusionUnParUn) return DerniersRefus = FusionnerEnBloc();
  while (LignesATrier->NombreElements() > 0) {
    const uint32_t ligne = LignesATrier->Elements(1);
    int32_t position;
    bool doublon, presente;
    ChercherPosition(ligne, position, doublon, presente);
    if (!presente) {
      if (Refuse(ligne, doublon)) ++DerniersRefus;
      Placer(ligne, position);
    }
    (void)LignesATrier->SupprimerIndice(1);
  }
  return DerniersRefus;
}

int32_t TIndex::FusionnerEnBloc() {
  const uint32_t* attente = LignesATrier->Donnees();
  std::vector<uint32_t> nouvelles(attente, attente + LignesATrier->NombreElements());
  // Key order, equal keys by row number (the pending rows come in ascending row order and the sort
  // is stable): the order in which one-by-one placement leaves them.
  auto avant = [this](uint32_t a, uint32_t b) {
    const int8_t c = ComparerLignes(a, b);
    return c != 0 ? c < 0 : a < b;
  };
  if (Cles.size() == 1) {
    Cles.front().Champ->TrierLignes(nouvelles, Cles.front().Mode, Cles.front().Decroissant != 0);
  } else {
    std::stable_sort(nouvelles.begin(), nouvelles.end(), [this](uint32_t a, uint32_t b) { return ComparerLignes(a, b) < 0; });
  }
  const uint32_t* triees = LignesTriees->Donnees();
  const int32_t nombreTriees = LignesTriees->NombreElements();
  std::vector<uint32_t> fusion;
  fusion.reserve(static_cast<std::size_t>(nombreTriees) + nouvelles.size());
  std::vector<bool> estNouvelle;
  const bool avecRegle = RegleUnicite != ruiSansRegle;
  if (avecRegle) estNouvelle.reserve(fusion.capacity());
  std::size_t n = 0;
  for (int32_t t = 0; t < nombreTriees || n < nouvelles.size();) {
    const bool prendreNouvelle = t == nombreTriees || (n < nouvelles.size() && avant(nouvelles[n], triees[t]));
    fusion.push_back(prendreNouvelle ? nouvelles[n++] : triees[t++]);
    if (avecRegle) estNouvelle.push_back(prendreNouvelle);
  }
  // Placed one by one in row order, a new row is refused when an equal key is already placed: a
  // placed row, or a new row of a lower number. In a run of equal keys that is every new row but
  // the first of the run when the run holds no row placed before.
  int32_t refus = 0;
  if (avecRegle) {
    for (std::size_t debut = 0; debut < fusion.size();) {
      std::size_t fin = debut + 1;
      while (fin < fusion.size() && ComparerLignes(fusion[debut], fusion[fin]) == 0) ++fin;
      if (fin - debut > 1) {
        bool dejaPlacee = false;
        for (std::size_t i = debut; i < fin; ++i) dejaPlacee = dejaPlacee || !estNouvelle[i];
        bool premiere = !dejaPlacee;
        for (std::size_t i = debut; i < fin; ++i) {
          if (!estNouvelle[i]) continue;
          if (premiere) premiere = false;
          else if (!(RegleUnicite == ruiCleUniqueSiNonNulle && ClesLigneAbsentes(fusion[i]))) ++refus;
        }
      }
      debut = fin;
    }
  }
  RemplacerPlacees(std::move(fusion));
  LignesATrier->Vider();
  return refus;
}

// ---------------------------------------------------------------------------------------------------
// Search and walk

uint8_t TIndex::ChercherArticle(TArticle* Article, int32_t& Position, bool& Doublon) {
  uint8_t resultat = kIndexApresDernier;
  (void)Trier();
  Position = static_cast<int32_t>(kAucuneLigne);
  Doublon = false;
  // An article that designates no row has no values to compare.
  if (Article == nullptr || Article->Table == nullptr || Article->IndiceArticle >= kAucuneLigne) return resultat;
  TypeReferenceArticle reference;
  Article->GetReference(reference);
  const uint32_t r = reference.IndiceArticle;
  const int32_t nombre = LignesTriees->NombreElements();
  const uint32_t* triees = LignesTriees->Donnees();
  // The position the article remembers, when it still holds the article's row with an equal key.
  // Only a row of this table is looked for there: the row number of another table's row says
  // nothing of this list (and reading the list at a stale position costs a memory access).
  const int32_t p = Article->Position;
  if (reference.Table == Table && r != kAucuneLigne && p >= 1 && p <= nombre && triees[p - 1] == r &&
      ComparerArticle(Article, r) == 0) {
    Position = p;
    Article->Position = p;
    return kIndexTrouve;
  }
  TRechercheIndex recherche;
  recherche.Lignes = triees;
  recherche.Nombre = nombre;
  recherche.ArreterSurLigne = reference.Table == Table;
  recherche.Ligne = r;
  const int32_t ligneArticle = static_cast<int32_t>(Article->IndiceArticle);
  if (Cles.size() == 1) {
    const TypeCleIndex& cle = Cles.front();
    TCustomChamp* colonne = Article->Table->GetChamp(cle.NumeroChamp);
    if (!clesPlacees_ || !clesPlacees_->Chercher(colonne, ligneArticle, cle.Mode, cle.Decroissant != 0, recherche))
      cle.Champ->ChercherDansIndex(colonne, ligneArticle, cle.Mode, cle.Decroissant != 0, recherche);
  } else {
    TCustomChamp* fixes[8];
    std::vector<TCustomChamp*> autres;
    TCustomChamp** colonnes = fixes;
    if (Cles.size() > 8) {
      autres.resize(Cles.size());
      colonnes = autres.data();
    }
    for (std::size_t i = 0; i < Cles.size(); ++i) colonnes[i] = Article->Table->GetChamp(Cles[i].NumeroChamp);
    ::ChercherDansIndex(recherche, [&](uint32_t x) { return ComparerColonnes(colonnes, ligneArticle, x); });
  }
  const int32_t hi = recherche.Hi;
  Position = recherche.Position;
  Doublon = recherche.Doublon;
  if (recherche.Trouve) resultat = kIndexTrouve;
  if (Position == static_cast<int32_t>(kAucuneLigne)) Position = hi;
  if (Position > nombre) Position = static_cast<int32_t>(kAucuneLigne);
  else if (resultat != kIndexTrouve) resultat = kIndexAvant;
  Article->Position = Position;
  return resultat;
}

int32_t TIndex::PositionDeLigne(uint32_t Ligne) {
  (void)Trier();
  int32_t position;
  bool doublon, presente;
  ChercherPosition(Ligne, position, doublon, presente);
  return presente ? position : LignesTriees->NombreElements() + 1;
}

uint32_t TIndex::LigneDePosition(int32_t Position) {
  if (Position < 1 || Table == nullptr || Position > Table->NombreArticles) return kAucuneLigne;
  (void)Trier();
  if (Position > LignesTriees->NombreElements()) return kAucuneLigne;
  return LignesTriees->Elements(Position);
}

TListeArticles* TIndex::ListeArticles() {
  (void)Trier();
  auto* liste = new TListeArticles(true, 32, true);
  for (int32_t p = 1; p <= LignesTriees->NombreElements(); ++p) liste->Ajouter({nullptr, LignesTriees->Elements(p), Table});
  return liste;
}

// ---------------------------------------------------------------------------------------------------
// XML

void TIndex::SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) {
  Noeud = TNoeudXML();
  if (Partie != PX_Schema) return;
  Noeud = Parent.AjouterFils("index");
  Noeud.DefinirAttribut("nom", Nom);
  switch (RegleUnicite) {
    case ruiSansRegle: Noeud.DefinirAttribut("unicite", "sans"); break;
    case ruiCleUnique: Noeud.DefinirAttribut("unicite", "unique"); break;
    case ruiCleUniqueSiNonNulle: Noeud.DefinirAttribut("unicite", "saufzero"); break;
  }
  for (const TypeCleIndex& cle : Cles) {
    TNoeudXML champ;
    cle.Champ->SaveToXMLNode(Noeud, Partie, champ);
    champ.DefinirAttribut("sens", cle.Decroissant != 0 ? "decroissant" : "croissant");
    champ.DefinirAttribut("mode", std::to_string(cle.Mode));
  }
}

void* TIndex::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ISaveToXMLNode::IID) return static_cast<ISaveToXMLNode*>(this);
  return TCustomTracable::GetInterfaceEntry(iid);
}

// ---------------------------------------------------------------------------------------------------
// Traces

void TIndex::TracerEntete(TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!GetTraceActive()) return;
  if (Traceur == nullptr) Traceur = Trace::TraceurParDefaut();
  TCustomTracable::TracerEntete(Traceur, Texte);
  std::string valeur, ligne;
  auto propriete = [&](const std::string& nom, const std::string& v) {
    Traceur->TracerPropriete(nom, v, ligne);
    Texte += ligne;
  };
  propriete("Nom", Nom);
  TChaineType::TexteEtatIndex(Etat, valeur);
  propriete("Etat", valeur);
  propriete("Table de classe", Table != nullptr ? TemplateArray::NomDeClasse(Table->ClasseArticle) : std::string());
  TChaineType::TexteRegleUnicite(RegleUnicite, valeur);
  propriete("RegleUnicite", valeur);
  propriete("NombreChamps", std::to_string(NombreChamps));
  TChaineType::TexteEnsemble(ChampsConcernes, valeur);
  propriete("ChampsConcernes", valeur);
  propriete(std::string("Nombre articles triés"_ansi), std::to_string(LignesTriees->NombreElements()));
  propriete(std::string("Nombre articles à trier"_ansi), std::to_string(LignesATrier->NombreElements()));
}

void TIndex::TracerContenu(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!GetTraceActive()) return;
  std::string partie;
  LignesTriees->TracerComplet(Detail, Traceur, partie);
  Texte += partie;
  LignesATrier->TracerComplet(Detail, Traceur, partie);
  Texte += partie;
}

// ---------------------------------------------------------------------------------------------------
// The index of a reference column

TIndexReferences::TIndexReferences(TCustomChamp* Champ) {
  InitialiserBase(std::string(), nullptr);
  Table = Champ->Table;
  TypeCleIndex cle;
  cle.Champ = Champ;
  cle.NumeroChamp = Champ->NumeroChamp;
  Cles.push_back(cle);
  if (cle.NumeroChamp >= 0 && cle.NumeroChamp <= 255)
    ChampsConcernes[static_cast<std::size_t>(cle.NumeroChamp / 8)] |= static_cast<uint8_t>(1u << (cle.NumeroChamp % 8));
  NombreChamps = 1;
}

namespace {
// The order of references in the reference index: by table (address), then by row.
int8_t ComparerReferences(const TypeReferenceArticle& A, const TypeReferenceArticle& B) {
  const auto ta = reinterpret_cast<uintptr_t>(A.Table), tb = reinterpret_cast<uintptr_t>(B.Table);
  if (ta != tb) return ta < tb ? -1 : 1;
  if (A.IndiceArticle != B.IndiceArticle) return A.IndiceArticle < B.IndiceArticle ? -1 : 1;
  return 0;
}
}  // namespace

uint8_t TIndexReferences::ChercherReference(const TypeReferenceArticle& Reference, int32_t& Position, bool& Trouve) {
  uint8_t resultat = kIndexApresDernier;
  (void)Trier();
  Trouve = false;
  const int32_t nombre = LignesTriees->NombreElements();
  TCustomChamp* champ = Cles.front().Champ;
  int32_t lo = 0, hi = nombre + 1;
  TypeReferenceArticle valeur;
  while (hi > lo + 1) {
    const int32_t mid = lo + (hi - lo) / 2;
    champ->Reference(static_cast<int32_t>(LignesTriees->Elements(mid)), valeur);
    const int8_t c = ComparerReferences(Reference, valeur);
    if (c < 0) {
      hi = mid;
    } else if (c > 0) {
      lo = mid;
    } else {
      Trouve = true;
      resultat = kIndexTrouve;
      hi = mid;
    }
  }
  Position = hi;
  if (Position > nombre) {
    Position = static_cast<int32_t>(kAucuneLigne);
    resultat = kIndexApresDernier;
  } else if (resultat != kIndexTrouve) {
    resultat = kIndexAvant;
  }
  return resultat;
}

void TIndexReferences::LignesDe(const TypeReferenceArticle& Reference, std::vector<int32_t>& Lignes) {
  Lignes.clear();
  int32_t position;
  bool trouve;
  if (ChercherReference(Reference, position, trouve) != kIndexTrouve) return;
  TCustomChamp* champ = Cles.front().Champ;
  TypeReferenceArticle valeur;
  for (; position <= LignesTriees->NombreElements(); ++position) {
    const uint32_t ligne = LignesTriees->Elements(position);
    champ->Reference(static_cast<int32_t>(ligne), valeur);
    if (!ReferenceArticle::MemeArticle(valeur, Reference)) return;
    Lignes.push_back(static_cast<int32_t>(ligne));
  }
}

TListeArticles* TIndexReferences::ListeReferencants(const TypeReferenceArticle& Reference, TCustomFiltreArticle* Filtre) {
  auto* liste = new TListeArticles(true, 32, true);
  auto* champ = dynamic_cast<TChampReference*>(Cles.front().Champ);
  if (champ == nullptr || ReferenceArticle::EstReferenceNulle(Reference)) return liste;
  std::vector<int32_t> lignes;
  LignesDe(Reference, lignes);
  liste->AjouterReferencants(lignes, champ, Filtre);
  return liste;
}

// ---------------------------------------------------------------------------------------------------

TParametreAssignationIndex::TParametreAssignationIndex(TBase* BaseSource, TBase* BaseDestination,
                                                       TCustomTable* TableSource, TCustomTable* TableDestination)
    : TCustomParametre(true),
      BaseSource(BaseSource),
      BaseDestination(BaseDestination),
      TableSource(TableSource),
      TableDestination(TableDestination) {}
