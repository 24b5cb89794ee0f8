#include "net/objets/ObjetReseau.h"

#include <openssl/rand.h>

#include <memory>
#include <utility>

#include "core/objects/ClasseFinalisable.h"
#include "core/objects/Exceptions.h"
#include "core/objects/GestionnaireNomsDeClasse.h"
#include "core/values/Ansi1252.h"
#include "net/AssociationIdentifiantObject.h"
#include "net/objets/Serialisable.h"

NV_DEFINE_CLASS(TObjetIdentifiable, TCustomSerializable)
NV_DEFINE_FINALISABLE_CLASS(TGestionnaireIdentificationReseau)
NV_DEFINE_CLASS(TCustomInfoDeclaration, TCustomSerializable)
NV_DEFINE_CLASS(TInfoDeclarationObjetReseau, TCustomInfoDeclaration)
NV_DEFINE_CLASS(TDeclarationObjetsReseau, TCustomSerializable)

namespace {

constexpr int32_t kTailleIdentifiant = 16;

[[noreturn]] void ErreurLecture() { throw EReadError("Erreur de lecture du flux"); }

IFormateur* FormateurDe(IInterface* Formateur) {
  IFormateur* f = Supports<IFormateur>(Formateur);
  if (f == nullptr) ErreurLecture();
  return f;
}

void EcrireIdentifiant(IFormateur* Formateur, const TGUID& Identifiant) {
  const auto octets = Identifiant.Bytes();
  Formateur->EcrireTampon(octets.data(), kTailleIdentifiant);
}

// The GUID whose 16 bytes in memory order are Octets (D1 to D3 little-endian).
TGUID GuidDeOctets(const uint8_t* Octets) {
  TGUID g;
  g.D1 = static_cast<uint32_t>(Octets[0] | Octets[1] << 8 | Octets[2] << 16) | static_cast<uint32_t>(Octets[3]) << 24;
  g.D2 = static_cast<uint16_t>(Octets[4] | Octets[5] << 8);
  g.D3 = static_cast<uint16_t>(Octets[6] | Octets[7] << 8);
  for (std::size_t i = 0; i < 8; ++i) g.D4[i] = Octets[8 + i];
  return g;
}

// A zone of another size than a GUID's is a corrupt stream.
TGUID LireIdentifiant(IFormateur* Formateur) {
  uint8_t octets[kTailleIdentifiant] = {};
  if (Formateur->LireTampon(octets, kTailleIdentifiant) != kTailleIdentifiant) ErreurLecture();
  return GuidDeOctets(octets);
}

// Builds a blank instance of Classe, hands it to Lire and runs its after-construction step; a
// failure frees it before the error goes on.
template <class Lecture>
TObject* CreerBlanc(const TClass* Classe, Lecture Lire) {
  std::unique_ptr<TObject> objet(Classe->NewBlank());
  if (!objet) ErreurLecture();
  Lire(objet.get());
  objet->AfterConstruction();
  return objet.release();
}

// An object made by a mode's Creer comes from a peer: a network order among them belongs to the
// collector, as every order read from the network.
TObject* Collecter(TObject* Objet) {
  if (auto* s = ObjectAs<TSerializable>(Objet)) s->Collecter();
  return Objet;
}

// The local object that a temporary reading of the reference form designates, when it is of
// Classe; the temporary leaves with its GUID cleared, so that destroying it touches no mapping.
TObject* Resoudre(TObject* Temporaire, const TClass* Classe) {
  auto* identite = InterfaceOf<IIdentifiantReseau>(Temporaire);
  if (identite == nullptr) return nullptr;
  TGUID g;
  identite->GetIdentifiant(g);
  identite->SetIdentifiant(kIdentifiantNul);
  if (g == kIdentifiantNul) return nullptr;
  TObject* trouve = TGestionnaireIdentificationReseau::ObjetDeIdentifiant(g);
  return (trouve != nullptr && trouve->InheritsFrom(Classe)) ? trouve : nullptr;
}

// Reads the reference form into a temporary instance of Classe, as the reference format wrote it:
// through the reference interface, nothing when the class lacks it (its own serialisable reading
// would take bytes that were never written).
std::unique_ptr<TObject> LireTemporaire(const TClass* Classe, IFormateur* Formateur) {
  std::unique_ptr<TObject> temporaire(Classe->NewBlank());
  if (!temporaire) ErreurLecture();
  TFSObjetParReference::Lire(temporaire.get(), Formateur);
  temporaire->AfterConstruction();
  return temporaire;
}

TAssociationIdentifiantObject* association = nullptr;
bool referenceAcceptee = false;

}  // namespace

TAccepterReference::TAccepterReference() { referenceAcceptee = true; }
TAccepterReference::~TAccepterReference() { referenceAcceptee = false; }
bool TAccepterReference::Prendre() { return std::exchange(referenceAcceptee, false); }

// ---------------------------------------------------------------------------------------------------
// TObjetIdentifiable

TObjetIdentifiable::~TObjetIdentifiable() {
  if (identifiant_ != kIdentifiantNul) TGestionnaireIdentificationReseau::Oublier(identifiant_, this);
}

void* TObjetIdentifiable::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IIdentifiantReseau::IID) return static_cast<IIdentifiantReseau*>(this);
  if (iid == IObjetParReference::IID) return static_cast<IObjetParReference*>(this);
  return TCustomSerializable::GetInterfaceEntry(iid);
}

void TObjetIdentifiable::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  if (Contexte != nullptr) Contexte->Ecrire(this, Formateur);
}

void TObjetIdentifiable::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  if (Contexte != nullptr) Contexte->Lire(this, Formateur);
}

void TObjetIdentifiable::EcrireReference(IFormateur* Formateur) { EcrireIdentifiant(Formateur, identifiant_); }

void TObjetIdentifiable::LireReference(IFormateur* Formateur) { identifiant_ = LireIdentifiant(Formateur); }

// ---------------------------------------------------------------------------------------------------
// Format classes

const TCustomFormatSerialisation::Class* TFSModeRequete::StaticClass() {
  static const TFormatSerialisationOf<TFSModeRequete> d("TFSModeRequete", TCustomFormatSerialisation::StaticClass());
  return &d;
}
void TFSModeRequete::Ecrire(TObject* Objet, IInterface* Formateur) {
  if (auto* i = InterfaceOf<IModeRequete>(Objet)) i->EcrireRequete(FormateurDe(Formateur));
}
void TFSModeRequete::Lire(TObject* Objet, IInterface* Formateur) {
  if (auto* i = InterfaceOf<IModeRequete>(Objet)) i->LireRequete(FormateurDe(Formateur));
}
TObject* TFSModeRequete::CreerEtLire(const TClass* Classe, IInterface* Formateur) {
  return Collecter(CreerBlanc(Classe, [&](TObject* o) { Lire(o, Formateur); }));
}

const TCustomFormatSerialisation::Class* TFSModeReponse::StaticClass() {
  static const TFormatSerialisationOf<TFSModeReponse> d("TFSModeReponse", TCustomFormatSerialisation::StaticClass());
  return &d;
}
void TFSModeReponse::Ecrire(TObject* Objet, IInterface* Formateur) {
  if (auto* i = InterfaceOf<IModeReponse>(Objet)) i->EcrireReponse(FormateurDe(Formateur));
}
void TFSModeReponse::Lire(TObject* Objet, IInterface* Formateur) {
  if (auto* i = InterfaceOf<IModeReponse>(Objet)) i->LireReponse(FormateurDe(Formateur));
}
TObject* TFSModeReponse::CreerEtLire(const TClass* Classe, IInterface* Formateur) {
  return Collecter(CreerBlanc(Classe, [&](TObject* o) { Lire(o, Formateur); }));
}

const TCustomFormatSerialisation::Class* TFSDeclarationObjet::StaticClass() {
  static const TFormatSerialisationOf<TFSDeclarationObjet> d("TFSDeclarationObjet",
                                                             TCustomFormatSerialisation::StaticClass());
  return &d;
}
void TFSDeclarationObjet::Ecrire(TObject* Objet, IInterface* Formateur) {
  if (auto* i = InterfaceOf<IDeclarationObjet>(Objet)) i->EcrireDeclaration(FormateurDe(Formateur));
}
void TFSDeclarationObjet::Lire(TObject* Objet, IInterface* Formateur) {
  if (auto* i = InterfaceOf<IDeclarationObjet>(Objet)) i->LireDeclaration(FormateurDe(Formateur));
}
TObject* TFSDeclarationObjet::CreerEtLire(const TClass* Classe, IInterface* Formateur) {
  return CreerBlanc(Classe, [&](TObject* o) { Lire(o, Formateur); });
}

const TCustomFormatSerialisation::Class* TFSObjetParReference::StaticClass() {
  static const TFormatSerialisationOf<TFSObjetParReference> d("TFSObjetParReference",
                                                              TCustomFormatSerialisation::StaticClass());
  return &d;
}
void TFSObjetParReference::Ecrire(TObject* Objet, IInterface* Formateur) {
  if (auto* i = InterfaceOf<IObjetParReference>(Objet)) i->EcrireReference(FormateurDe(Formateur));
}
void TFSObjetParReference::Lire(TObject* Objet, IInterface* Formateur) {
  if (auto* i = InterfaceOf<IObjetParReference>(Objet)) i->LireReference(FormateurDe(Formateur));
}
TObject* TFSObjetParReference::CreerEtLire(const TClass* Classe, IInterface* Formateur) {
  const bool acceptee = TAccepterReference::Prendre();
  std::unique_ptr<TObject> temporaire = LireTemporaire(Classe, FormateurDe(Formateur));
  TObject* trouve = Resoudre(temporaire.get(), Classe);
  return acceptee ? trouve : nullptr;
}

const TCustomFormatSerialisation::Class* TFSContenuObjet::StaticClass() {
  static const TFormatSerialisationOf<TFSContenuObjet> d("TFSContenuObjet", TFSObjetParReference::StaticClass());
  return &d;
}
void TFSContenuObjet::Ecrire(TObject* Objet, IInterface* Formateur) {
  TFSObjetParReference::Ecrire(Objet, Formateur);
  if (auto* i = InterfaceOf<IContenuObjet>(Objet)) i->EcrireContenu(FormateurDe(Formateur));
}
void TFSContenuObjet::Lire(TObject* Objet, IInterface* Formateur) {
  TFSObjetParReference::Lire(Objet, Formateur);
  if (auto* i = InterfaceOf<IContenuObjet>(Objet)) i->LireContenu(FormateurDe(Formateur));
}
// The content goes where the reference leads, or into the temporary when it leads nowhere: either
// way the reader's position ends after the object. The object found is of the temporary's class or
// a descendant, so it reads the content the temporary would have read.
TObject* TFSContenuObjet::CreerEtLire(const TClass* Classe, IInterface* Formateur) {
  const bool acceptee = TAccepterReference::Prendre();
  IFormateur* formateur = FormateurDe(Formateur);
  std::unique_ptr<TObject> temporaire = LireTemporaire(Classe, formateur);
  TObject* trouve = Resoudre(temporaire.get(), Classe);
  if (!acceptee) trouve = nullptr;
  TObject* cible = trouve != nullptr ? trouve : temporaire.get();
  if (auto* i = InterfaceOf<IContenuObjet>(cible)) i->LireContenu(formateur);
  return trouve;
}

// ---------------------------------------------------------------------------------------------------
// TGestionnaireIdentificationReseau

namespace {
IIdentifiantReseau* IdentiteDe(TObject* Objet) {
  // Only a TObjetIdentifiable leaves the map when it is destroyed; no other object is mapped.
  return ObjectAs<TObjetIdentifiable>(Objet) ? InterfaceOf<IIdentifiantReseau>(Objet) : nullptr;
}
}  // namespace

TGUID TGestionnaireIdentificationReseau::NouvelIdentifiant() {
  std::array<uint8_t, kTailleIdentifiant> octets{};
  do {
    if (RAND_bytes(octets.data(), kTailleIdentifiant) != 1)
      throw Exception(std::string("Générateur aléatoire indisponible"_ansi));
  } while (octets == std::array<uint8_t, kTailleIdentifiant>{});
  return GuidDeOctets(octets.data());
}

bool TGestionnaireIdentificationReseau::Declarer(TObject* Objet) {
  IIdentifiantReseau* identite = IdentiteDe(Objet);
  if (identite == nullptr) return false;
  TGUID g;
  identite->GetIdentifiant(g);
  if (g == kIdentifiantNul) {
    g = NouvelIdentifiant();
    identite->SetIdentifiant(g);
  }
  if (association == nullptr) {
    association = new TAssociationIdentifiantObject(false, false);
    TClasseFinalisable::Enregistrer(StaticClass());
  }
  association->SetValeur(g, Objet);
  return true;
}

bool TGestionnaireIdentificationReseau::Retirer(TObject* Objet) {
  if (association == nullptr) return false;
  IIdentifiantReseau* identite = IdentiteDe(Objet);
  if (identite == nullptr) return false;
  TGUID g;
  identite->GetIdentifiant(g);
  if (g == kIdentifiantNul) return false;
  const bool retire = association->GetValeur(g) == Objet;
  if (retire) association->SetValeur(g, nullptr);
  identite->SetIdentifiant(kIdentifiantNul);
  return retire;
}

void TGestionnaireIdentificationReseau::Oublier(const TGUID& Identifiant, const TObject* Objet) {
  if (association != nullptr && association->GetValeur(Identifiant) == Objet) association->SetValeur(Identifiant, nullptr);
}

TObject* TGestionnaireIdentificationReseau::ObjetDeIdentifiant(const TGUID& Identifiant) {
  return association ? association->GetValeur(Identifiant) : nullptr;
}

int TGestionnaireIdentificationReseau::Nombre() { return association ? association->NombreCles() : 0; }

void TGestionnaireIdentificationReseau::Finaliser() {
  delete association;
  association = nullptr;
}

// ---------------------------------------------------------------------------------------------------
// Declarations

TInfoDeclarationObjetReseau::TInfoDeclarationObjetReseau(TObject* Objet) {
  if (Objet == nullptr) return;
  if (auto* identite = InterfaceOf<IIdentifiantReseau>(Objet)) identite->GetIdentifiant(Identifiant);
  NomClasse = Objet->ClassName();
}

void TInfoDeclarationObjetReseau::Appliquer(TObject* Objet) const {
  TGestionnaireIdentificationReseau::Retirer(Objet);
  if (auto* identite = IdentiteDe(Objet)) identite->SetIdentifiant(Identifiant);
  TGestionnaireIdentificationReseau::Declarer(Objet);
}

void TInfoDeclarationObjetReseau::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomInfoDeclaration::Ecrire(Formateur, Contexte);
  Formateur->EcrireChaine(NomClasse);
  EcrireIdentifiant(Formateur, Identifiant);
}

void TInfoDeclarationObjetReseau::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomInfoDeclaration::Lire(Formateur, Contexte);
  if (Formateur->LireChaine(NomClasse) < 0) ErreurLecture();
  Identifiant = LireIdentifiant(Formateur);
}

TDeclarationObjetsReseau::TDeclarationObjetsReseau() : liste_(new TArrayOfTObject(32, true, true)) {}

TDeclarationObjetsReseau::~TDeclarationObjetsReseau() { delete liste_; }

void* TDeclarationObjetsReseau::GetInterfaceEntry(const TGUID& iid) {
  if (iid == IDeclarationObjet::IID) return static_cast<IDeclarationObjet*>(this);
  return TCustomSerializable::GetInterfaceEntry(iid);
}

int32_t TDeclarationObjetsReseau::Nombre() const { return liste_ ? liste_->GetNombreElements() : 0; }

TInfoDeclarationObjetReseau* TDeclarationObjetsReseau::Declaration(int32_t Indice) const {
  if (Indice < 0 || Indice >= Nombre()) return nullptr;
  return static_cast<TInfoDeclarationObjetReseau*>(liste_->GetElement(Indice));
}

void TDeclarationObjetsReseau::Ajouter(TObject* Objet) {
  if (liste_ == nullptr) liste_ = new TArrayOfTObject(32, true, true);
  liste_->Ajouter(new TInfoDeclarationObjetReseau(Objet));
}

void TDeclarationObjetsReseau::Ecrire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Ecrire(Formateur, Contexte);
  EcrireDeclaration(Formateur);
}

void TDeclarationObjetsReseau::Lire(IFormateur* Formateur, TClasseFormat Contexte) {
  TCustomSerializable::Lire(Formateur, Contexte);
  LireDeclaration(Formateur);
}

void TDeclarationObjetsReseau::EcrireDeclaration(IFormateur* Formateur) { Formateur->EcrireObjet(liste_, nullptr); }

// The list read must be an object list of declarations only. It becomes this object's own: a list
// that arrives not owning its elements hands them to a new list that does.
void TDeclarationObjetsReseau::LireDeclaration(IFormateur* Formateur) {
  TObject* lu = Formateur->LireObjet(nullptr);
  auto* liste = ObjectAs<TArrayOfTObject>(lu);
  bool valide = liste != nullptr || lu == nullptr;
  for (int32_t i = 0; valide && liste != nullptr && i < liste->GetNombreElements(); ++i)
    valide = ObjectAs<TInfoDeclarationObjetReseau>(liste->GetElement(i)) != nullptr;
  if (!valide) {
    if (liste != nullptr) liste->LibererNonPossedes();
    delete lu;
    ErreurLecture();
  }
  if (liste != nullptr && !liste->GetLibererElements()) {
    auto* possedante = new TArrayOfTObject(32, true, true);
    for (int32_t i = 0; i < liste->GetNombreElements(); ++i) possedante->Ajouter(liste->GetElement(i));
    delete liste;
    liste = possedante;
  }
  delete liste_;
  liste_ = liste;
}

void ObjetReseau::Initialiser() {
  TracerModule("Initialisation du module ObjetReseau.");
  TGestionnaireNomsDeClasse::Enregistrer(TFSModeRequete::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFSModeReponse::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFSDeclarationObjet::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFSObjetParReference::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFSContenuObjet::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TInfoDeclarationObjetReseau::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TDeclarationObjetsReseau::StaticClass());
}

void ObjetReseau::Finaliser() { TracerModule("Finalisation du module ObjetReseau."); }
