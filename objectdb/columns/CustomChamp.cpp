#include "objectdb/columns/CustomChamp.h"

#include <algorithm>

#include "objectdb/indexes/ClesIndex.h"
#include "objectdb/indexes/RechercheIndex.h"

#include "core/objects/ClasseFinalisable.h"
#include "core/objects/Exceptions.h"
#include "objectdb/arrays/ArrayOfTypeNomTypeEtClasseChamp.h"
#include "objectdb/properties/InfosAcces.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"

namespace {
struct TClasseChampAbstraite final : TCustomChamp::Class {
  using TCustomChamp::Class::Class;
  TCustomChamp* Creer(const std::string&, TCustomTable*, const std::vector<int32_t>&, bool) const override {
    return nullptr;
  }
};
}  // namespace

const TCustomChamp::Class* TCustomChamp::StaticClass() {
  static const TClasseChampAbstraite descriptor("TCustomChamp", TObjetAbonnant::StaticClass(), nullptr);
  return &descriptor;
}

NV_DEFINE_CLASS(TParametreAssignationChamp, TCustomParametre)

TParametreAssignationChamp::TParametreAssignationChamp(TBase* BaseSource, TBase* BaseDestination,
                                                       TCustomTable* TableSource, TCustomTable* TableDestination)
    : TCustomParametre(true),
      BaseSource(BaseSource),
      BaseDestination(BaseDestination),
      TableSource(TableSource),
      TableDestination(TableDestination) {}

// ---------------------------------------------------------------------------------------------------
// TCustomChamp

TCustomChamp::TCustomChamp(const std::string& Nom, TCustomTable* Table, const std::vector<int32_t>& /*Parametres*/,
                           bool /*LibererElements*/)
    : Nom(Nom), Table(Table), NumeroChamp(Table ? Table->NombreChamps() : 0) {
  if (Table != nullptr)
    if (TInfosAcces* chemin = TReferentiel::InfosAcces(Table->ClasseArticle, NumeroChamp))
      InfosAccesPourChamp = new TInfosAccesPourChamp(chemin);
  EventId = EventIdPour(Table);
  CreerLignesCalculees();
}

void TCustomChamp::CreerLignesCalculees() {
  LignesCalculees = new TArrayOfInteger(32, true, false);
  LignesCalculees->SetAvecDoublons(false);
  LignesCalculees->SetToujoursTrie(true);
}

TCustomChamp::~TCustomChamp() {
  delete InfosAccesPourChamp;
  delete LignesCalculees;
}

bool TCustomChamp::CalculsPerimes() const { return InfosAccesPourChamp != nullptr && InfosAccesPourChamp->Invalide; }

TypeEventId TCustomChamp::EventIdPour(TCustomTable* Table) {
  return Table != nullptr && Table->EstTransitoire() ? -2 : TObjetAbonnant::NouvelEventId();
}

void TCustomChamp::NomDuType(std::string& Texte) const {
  const std::vector<std::string> noms = static_cast<const Class*>(ClassType())->NomsDeType();
  Texte = noms.empty() ? std::string() : noms.front();
}

bool TCustomChamp::LigneACalculer(int32_t Ligne) const {
  return LignesCalculees == nullptr || !LignesCalculees->Contient(Ligne);
}

void TCustomChamp::AssignerStructure(TCustomChamp* Source, TBase* /*BaseSource*/, TBase* /*BaseDestination*/,
                                     TCustomTable* /*TableSource*/, TCustomTable* TableDestination) {
  Nom = Source->Nom;
  NumeroChamp = Source->NumeroChamp;
  Table = TableDestination;
  // A copy is made blank: it takes an event id of its own, its list of computed rows and, for a
  // computed column, a controller of its own for the same path.
  EventId = EventIdPour(TableDestination);
  if (LignesCalculees == nullptr) CreerLignesCalculees();
  delete InfosAccesPourChamp;
  InfosAccesPourChamp = Source->InfosAccesPourChamp ? new TInfosAccesPourChamp(Source->InfosAccesPourChamp->InfosAcces)
                                                    : nullptr;
}

void TCustomChamp::ChercherDansIndex(TCustomChamp* Autre, int32_t LigneAutre, int32_t Mode, bool Decroissant,
                                     TRechercheIndex& Recherche) {
  ::ChercherDansIndex(Recherche, [&](uint32_t x) {
    const int8_t r = ComparerLignes(Autre, LigneAutre, static_cast<int32_t>(x), Mode, nullptr);
    const int8_t c = r < 0 ? -1 : (r > 0 ? 1 : 0);
    return Decroissant ? static_cast<int8_t>(-c) : c;
  });
}

std::unique_ptr<TClesIndex> TCustomChamp::CreerClesIndex() { return nullptr; }

void TCustomChamp::TrierLignes(std::vector<uint32_t>& Lignes, int32_t Mode, bool Decroissant) {
  std::stable_sort(Lignes.begin(), Lignes.end(), [&](uint32_t a, uint32_t b) {
    const int8_t r = ComparerLignes(this, static_cast<int32_t>(a), static_cast<int32_t>(b), Mode, nullptr);
    return Decroissant ? r > 0 : r < 0;
  });
}

void TCustomChamp::Reference(int32_t /*Ligne*/, TypeReferenceArticle& Reference) {
  Reference = ReferenceArticle::ReferenceArticleNulle;
}

void TCustomChamp::TracerProprietes(TCustomTraceur*, std::string& Texte) { Texte.clear(); }
void TCustomChamp::TracerElements(bool, TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TCustomChamp::Tracer(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

void TCustomChamp::TexteTrace(std::string& Texte) {
  Texte.clear();
  if (TraceActive()) Tracer(false, nullptr, Texte);
}

void TCustomChamp::SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) {
  Noeud = Parent.AjouterFils("champ");
  Noeud.DefinirAttribut("nom", Nom);
  if (Partie == PX_Data) return;
  std::string type;
  NomDuType(type);
  Noeud.DefinirAttribut("type", type);
}

void* TCustomChamp::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ITracable::IID) return delegue_.Tracable();
  if (iid == ISaveToXMLNode::IID) return static_cast<ISaveToXMLNode*>(this);
  return TObjetAbonnant::GetInterfaceEntry(iid);
}

// ---------------------------------------------------------------------------------------------------
// The registry of column classes by type name

namespace {
TArrayOfTypeNomTypeEtClasseChamp*& Registre() {
  static TArrayOfTypeNomTypeEtClasseChamp* registre = nullptr;
  return registre;
}
}  // namespace

void CustomChamp::EnregistrerClasseChamp(TClasseChamp Classe) {
  TArrayOfTypeNomTypeEtClasseChamp*& registre = Registre();
  if (registre == nullptr) {
    registre = new TArrayOfTypeNomTypeEtClasseChamp(32, true, false);
    registre->SetAvecDoublons(false);
    registre->SetToujoursTrie(true);
  }
  if (Classe == nullptr) return;
  for (const std::string& nom : Classe->NomsDeType()) registre->Ajouter({CustomParametre::CleDeType(nom), Classe});
}

TClasseChamp CustomChamp::ClasseChampDeNom(const std::string& NomType) {
  TArrayOfTypeNomTypeEtClasseChamp* registre = Registre();
  if (registre == nullptr) return nullptr;
  int32_t i;
  if (!registre->Chercher({CustomParametre::CleDeType(NomType), nullptr}, i, -1)) return nullptr;
  return registre->GetElement(i).Classe;
}

void CustomChamp::Finaliser() {
  delete Registre();
  Registre() = nullptr;
}
