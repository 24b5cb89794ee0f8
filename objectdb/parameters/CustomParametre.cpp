#include "objectdb/parameters/CustomParametre.h"

#include "core/objects/ClasseFinalisable.h"
#include "core/objects/Exceptions.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/objects/RamasseMiettes.h"

namespace {

// The descriptor of the abstract root: it has no constructor to run.
struct TClasseParametreAbstraite final : TCustomParametre::Class {
  using TCustomParametre::Class::Class;
  TCustomParametre* Creer(const std::string&, bool) const override { return nullptr; }
};

}  // namespace

const TCustomParametre::Class* TCustomParametre::StaticClass() {
  static const TClasseParametreAbstraite descriptor("TCustomParametre", TCustomSerializable::StaticClass(), nullptr);
  return &descriptor;
}

// ---------------------------------------------------------------------------------------------------
// The registry of parameter classes by type name

class TAssociationNomClasse : public TClasseFinalisable {
 public:
  static const TClasseFinalisable::Class* StaticClass();
  static TAssociationStringClass*& Association() {
    static TAssociationStringClass* association = nullptr;
    return association;
  }
  static void Finaliser() {
    delete Association();
    Association() = nullptr;
  }
};
NV_DEFINE_FINALISABLE_CLASS(TAssociationNomClasse)

std::string CustomParametre::CleDeType(const std::string& TypeName) {
  std::string cle = TypeName;
  for (char& c : cle)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return cle;
}

void CustomParametre::EnregistrerClasseParametre(TClasseParametre Classe, const std::string& TypeName) {
  TAssociationStringClass*& association = TAssociationNomClasse::Association();
  if (association == nullptr) {
    association = new TAssociationStringClass(false, false);
    TClasseFinalisable::Enregistrer(TAssociationNomClasse::StaticClass());
  }
  association->SetValeur(CleDeType(TypeName), Classe);
}

TClasseParametre CustomParametre::ClasseParametreDeNom(const std::string& TypeName) {
  TAssociationStringClass* association = TAssociationNomClasse::Association();
  // Only parameter classes are ever stored.
  return association ? static_cast<TClasseParametre>(association->GetValeur(TypeName)) : nullptr;
}

void CustomParametre::Initialiser() { TracerModule("Initialisation du module CustomParametre."); }

void CustomParametre::Finaliser() {
  TAssociationNomClasse::Finaliser();
  TracerModule("Finalisation du module CustomParametre.");
}

// ---------------------------------------------------------------------------------------------------
// TCustomParametre

TCustomParametre::TCustomParametre(bool Collecte) : collecte_(Collecte) {
  if (Collecte) InscrireRamasseMiettes();
}

TCustomParametre::TCustomParametre(const std::string& Nom, bool Collecte) : TCustomParametre(Collecte) {
  this->Nom = Nom;
}

// Whatever its flag says, a parameter the collector holds leaves it before it goes.
TCustomParametre::~TCustomParametre() { DesinscrireRamasseMiettes(); }

void TCustomParametre::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Ecrire(Formateur, Contexte);
  Formateur->EcrireChaine(Nom);
  Formateur->EcrireEntier(Etiquette);
  Formateur->EcrireBooleen(collecte_);
}

void TCustomParametre::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Lire(Formateur, Contexte);
  std::string nom = StrictReads::LireChaine(Formateur);
  const int32_t etiquette = StrictReads::LireEntier(Formateur);
  const bool collecte = StrictReads::LireBooleen(Formateur);
  Nom = std::move(nom);
  Etiquette = etiquette;
  collecte_ = collecte;
  if (collecte_) InscrireRamasseMiettes();
}

void TCustomParametre::Assigner(TCustomParametre* Source) {
  if (Source == nullptr || Source->ClassType() != ClassType()) throw EInvalidCast();
  Nom = Source->Nom;
}

void TCustomParametre::InscrireRamasseMiettes() { TRamasseMiettes::Ajouter(this); }
void TCustomParametre::DesinscrireRamasseMiettes() { TRamasseMiettes::Retirer(this); }
bool TCustomParametre::EstInscrit() { return TRamasseMiettes::RangDe(this) >= 0; }

void TCustomParametre::TracerProprietes(TCustomTraceur*, std::string& Texte) { Texte.clear(); }
void TCustomParametre::TracerElements(bool, TCustomTraceur*, std::string& Texte) { Texte.clear(); }

void TCustomParametre::Tracer(bool Detail, TCustomTraceur* Traceur, std::string& Texte) {
  DelegueTracable::TracerBloc(*this, Detail, Traceur, Texte);
}

void TCustomParametre::TexteTrace(std::string& Texte) {
  Texte.clear();
  if (TraceActive()) Tracer(false, nullptr, Texte);
}

void* TCustomParametre::GetInterfaceEntry(const TGUID& iid) {
  if (iid == ITracable::IID) return delegue_.Tracable();
  if (iid == IArbreTemporaire::IID) return static_cast<IArbreTemporaire*>(this);
  return TCustomSerializable::GetInterfaceEntry(iid);
}
