#include "objectdb/bases/Base.h"

#include <memory>

#include "core/arrays/TemplateArray.h"
#include "core/objects/CustomTraiterInstance.h"
#include "core/objects/Exceptions.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/values/Format.h"
#include "objectdb/articles/Article.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/Table.h"

namespace {

// Each visited table fills itself with its default articles.
class TCreerArticlesParDefaut : public TCustomTraiterInstance {
 public:
  bool Traiter(TObject* Instance) override {
    if (auto* table = dynamic_cast<TTable*>(Instance)) table->CreerArticlesParDefaut();
    return false;
  }
};

}  // namespace

const TClass* TBase::StaticClass() {
  static const TBase::Class descriptor("TBase", TCustomSerializable::StaticClass(), &NewBlankOf<TBase>);
  return &descriptor;
}

const TBase::Class* TBase::Descripteur(const TClass* Classe) {
  for (const TClass* c = Classe; c != nullptr; c = c->ClassParent())
    if (const auto* d = dynamic_cast<const Class*>(c)) return d;
  return static_cast<const Class*>(StaticClass());
}

const TClass* TBase::Class::ClasseTable(const TClass*, TObject*) const { return TTable::StaticClass(); }

TBase::TBase(const std::string& Nom_, bool Drapeau_) : Drapeau(Drapeau_), Nom(Nom_) {}

TBase::~TBase() {
  Etat = EI_Detruite;
  (void)TReferentiel::SupprimerTables(this);
}

void* TBase::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ITracable::IID) return delegue_.Tracable();
  if (iid == ISaveToXMLNode::IID) return static_cast<ISaveToXMLNode*>(this);
  return TCustomSerializable::GetInterfaceEntry(iid);
}

TTable* TBase::CreerTable(const TClass* ClasseArticle, TObject* Parametre) {
  const auto* classe = dynamic_cast<const TTable::Class*>(Descripteur(ClassType())->ClasseTable(ClasseArticle, Parametre));
  if (classe == nullptr) throw EInvalidCast();
  TTable* table = classe->Creer(ClasseArticle, this, true, 1024);
  // The registry holds one table per class and base: a second one would belong to nobody.
  const TypeBaseEtTable* entree = TReferentiel::Noeud(ClasseArticle)->Entree(this);
  if (entree != nullptr && entree->Table == table) return table;
  delete table;
  return nullptr;
}

void TBase::Ecrire(IFormateur* Formateur, TClasseFormat) {
  Formateur->EcrireChaine(Nom);
  Formateur->EcrireBooleen(Drapeau);
}

void TBase::Lire(IFormateur* Formateur, TClasseFormat) {
  Formateur->LireChaine(Nom);
  Formateur->LireBooleen(Drapeau);
}

void TBase::Assigner(TBase* Source, bool SansTables) {
  Nom = Source->Nom;
  Drapeau = Source->Drapeau;
  if (!SansTables) TReferentiel::CopierTables(Source, this);
}

int32_t TBase::CreerArticlesParDefaut() {
  TCreerArticlesParDefaut creer;
  return TraiterTables(&creer);
}

// ---------------------------------------------------------------------------------------------------
// Tables

std::vector<TCustomTable*> TBase::TablesDeClasse(const TClass* ClasseArticle) {
  return TReferentiel::TablesDeClasse(ClasseArticle, this);
}

TTable* TBase::TableDeClasse(const TClass* ClasseArticle) {
  const std::vector<TCustomTable*> tables = TablesDeClasse(ClasseArticle);
  return tables.size() == 1 ? dynamic_cast<TTable*>(tables.front()) : nullptr;
}

int32_t TBase::NombreTables() { return static_cast<int32_t>(TablesDeClasse(TArticle::StaticClass()).size()); }

int32_t TBase::TraiterTables(TCustomTraiterInstance* Traitement) { return TReferentiel::TraiterTables(Traitement, this); }

// ---------------------------------------------------------------------------------------------------
// Traces

void TBase::TracerEntete(TCustomTraceur*, std::string& Texte) { Texte.clear(); }
void TBase::TracerContenu(bool, TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TBase::TracerComplet(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  Texte.clear();
  if (!TraceActive()) return;
  if (!Detail) {
    TexteResume(Texte);
    return;
  }
  TTracerInstance tracer(true, false, Traceur);
  (void)TraiterTables(&tracer);
  Texte = tracer.Texte;
}

void TBase::TexteResume(std::string& Texte) {
  Texte.clear();
  if (TraceActive()) Texte = Format("%s contenant %d tables(s)", {TemplateArray::NomDeClasse(ClassType()), NombreTables()});
}

void Base::Initialiser() { TGestionnaireNomsDeClasse::Enregistrer(TBase::StaticClass()); }

namespace {
// Writes each visited table under a node.
class TSaveTableToXMLNode : public TCustomTraiterInstance {
 public:
  TSaveTableToXMLNode(TNoeudXML Parent, TypePartieXML Partie) : Parent(Parent), Partie(Partie) {}
  bool Traiter(TObject* Instance) override {
    TNoeudXML noeud;
    static_cast<TCustomTable*>(Instance)->SaveToXMLNode(Parent, Partie, noeud);
    return false;
  }
  TNoeudXML Parent;
  TypePartieXML Partie;
};
}  // namespace

void TBase::SaveToXMLNode(TNoeudXML Parent, TypePartieXML Partie, TNoeudXML& Noeud) {
  if (Partie == PX_Referentiel) {
    TReferentiel::ExporterReferentielXML(Parent, EnsemblePartiesXML({PX_Referentiel}), this);
    Noeud = Parent;
    return;
  }
  Noeud = Parent.AjouterFils("base");
  Noeud.DefinirAttribut("classe", ClassType()->ClassName());
  const std::unique_ptr<TSaveTableToXMLNode> traitement(new TSaveTableToXMLNode(Noeud, Partie));
  (void)TraiterTables(traitement.get());
}
