#include "net/utilisateurs/BaseUtilisateurs.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "core/objects/Exceptions.h"
#include "core/values/ChaineUnicode.h"
#include "core/records/Comparai.h"
#include "core/records/Xi.h"
#include "core/serial/Serialisation.h"
#include "core/serial/Streams.h"
#include "net/utilisateurs/Login.h"
#include "objectdb/Traduction.h"

template <int N>
std::string TypeChaineComptee<N>::Texte() const {
  const int n = std::min<int>(Octets[0], N);
  return std::string(reinterpret_cast<const char*>(Octets + 1), static_cast<std::size_t>(n));
}

template <int N>
void TypeChaineComptee<N>::Definir(std::string_view S) {
  const std::size_t n = std::min<std::size_t>(S.size(), N);
  std::memset(Octets, 0, sizeof Octets);
  Octets[0] = static_cast<uint8_t>(n);
  std::memcpy(Octets + 1, S.data(), n);
}

template struct TypeChaineComptee<3>;
template struct TypeChaineComptee<20>;
template struct TypeChaineComptee<30>;
template struct TypeChaineComptee<32>;
template struct TypeChaineComptee<kTailleCodeMotDePasseMax>;

namespace {

uint32_t Lire32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
void Ecrire32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
std::string LireCompte(const uint8_t* p, int n) {
  return std::string(reinterpret_cast<const char*>(p + 1), std::min<std::size_t>(p[0], static_cast<std::size_t>(n)));
}
void EcrireCompte(uint8_t* p, int n, std::string_view s) {
  const std::size_t l = std::min<std::size_t>(s.size(), static_cast<std::size_t>(n));
  std::memset(p, 0, static_cast<std::size_t>(n) + 1);
  p[0] = static_cast<uint8_t>(l);
  std::memcpy(p + 1, s.data(), l);
}


}  // namespace

uint32_t TypeProfilServeur::Identifiant() const { return Lire32(Octets); }
std::string TypeProfilServeur::Nom() const { return LireCompte(Octets + 4, 32); }
std::string TypeProfilServeur::SecondNom() const { return LireCompte(Octets + 37, 30); }
std::string TypeProfilServeur::CheminBase() const { return LireCompte(Octets + 68, 255); }
bool TypeProfilServeur::Actif() const { return Octets[372] != 0; }
void TypeProfilServeur::DefinirCheminBase(std::string_view Chemin) { EcrireCompte(Octets + 68, 255, Chemin); }
void TypeProfilServeur::DefinirActif(bool Valeur) { Octets[372] = Valeur ? 1 : 0; }
void TypeProfilServeur::DefinirIdentifiant(uint32_t Ident) { Ecrire32(Octets, Ident); }
void TypeProfilServeur::DefinirNom(std::string_view Nom) { EcrireCompte(Octets + 4, 32, Nom); }
void TypeProfilServeur::DefinirSecondNom(std::string_view Nom) { EcrireCompte(Octets + 37, 30, Nom); }
TypeProfilServeur TypeProfilServeur::Vierge() {
  TypeProfilServeur p;
  p.Octets[374] = p.Octets[375] = p.Octets[632] = 1;
  return p;
}

TypeAffectation TypeAffectation::DepuisOctets(const uint8_t* o) {
  TypeAffectation a;
  a.Identifiant = Lire32(o);
  a.ProfilServeur = Lire32(o + 4);
  a.ProfilUtilisateur = Lire32(o + 8);
  a.Utilisateur = Lire32(o + 12);
  a.Recu = o[16] != 0;
  return a;
}

namespace BaseUtilisateurs {
namespace {

template <class R>
struct ListeChangements {
  using Routine = void (*)(TypeGenreModif, uint32_t, const R*, void*);
  std::vector<std::pair<Routine, void*>> abonnes;
  void Notifier(TypeGenreModif g, uint32_t ident, const R* e) {
    const auto copie = abonnes;  // a subscriber may unsubscribe while it is called
    for (const auto& [r, d] : copie) r(g, ident, e, d);
  }
  // One change of the table whose current record is `e`: the engine inserts, changes or removes it,
  // then the subscribers learn it with the record's identifier (no record after a removal).
  bool Appliquer(R* e, TypeGenreModif g, uint32_t ident) {
    const bool ok = g == GM_Creation ? Xi::Inserer(e) : g == GM_Modification ? Xi::Modifier(e) : Xi::Supprimer(e);
    if (!ok) return false;
    Notifier(g, ident, g == GM_Suppression ? nullptr : e);
    return true;
  }
  void Retirer(Routine r, void* d) {
    auto it = std::find_if(abonnes.begin(), abonnes.end(),
                           [r, d](const auto& a) { return a.first == r && (d == nullptr || a.second == d); });
    if (it != abonnes.end()) abonnes.erase(it);
  }
};

struct Etat {
  TypeUtilisateur* utilisateurs = nullptr;
  TypeGroupeUtilisateurs* groupes = nullptr;
  TypeProfilServeur* profils = nullptr;
  TypeAffectation* affectations = nullptr;
  ListeChangements<TypeUtilisateur> chgUtilisateurs;
  ListeChangements<TypeGroupeUtilisateurs> chgGroupes;
  ListeChangements<TypeProfilServeur> chgProfils;
  ListeChangements<TypeAffectation> chgAffectations;
  std::string nomAdministration, nomModification, nomConsultation;
};
Etat& E() {
  static Etat e;
  return e;
}

const std::string kSuperUtilisateur = "SPR";

template <class R>
R* CreerTable(int32_t ordres) {
  void* t = nullptr;
  Xi::Creer(t, 0, static_cast<int32_t>(sizeof(R)), ordres);
  if (t == nullptr) throw Exception("Table du fichier des utilisateurs refusée");
  return static_cast<R*>(t);
}

void Ordre(void* t, int32_t ordre, bool unique, std::initializer_list<std::tuple<const void*, int32_t, TypeComparaison>> c) {
  bool ok = Xi::DefinirOrdre(t, ordre, static_cast<int32_t>(c.size()), unique);
  int32_t i = 1;
  for (const auto& [champ, taille, comparaison] : c) ok = ok && Xi::DefinirColonne(t, ordre, i++, champ, taille, comparaison);
  if (!ok) throw Exception("Ordre du fichier des utilisateurs refusé");
}

constexpr auto kChaine = &Comparai::ComparerChaineCourte;
constexpr auto kCardinal = &Comparai::ComparerCardinal;
constexpr auto kOctet = &Comparai::ComparerOctet;

bool EstSuper(const TypeUtilisateur& u) { return u.Code.Texte() == kSuperUtilisateur; }

// True when the user holds an administration profile in some server profile. Positions of the
// assignment and user-profile tables are restored.
bool DetientProfilAdministration(uint32_t identUtilisateur) {
  auto* a = E().affectations;
  auto* g = E().groupes;
  Xi::SauverPosition(a);
  Xi::SauverPosition(g);
  bool trouve = false;
  for (bool ok = Xi::Premier(a, kAffIdent); ok && !trouve; ok = Xi::Suivant(a, kAffIdent)) {
    if (a->Utilisateur != identUtilisateur) continue;
    const uint32_t profil = a->ProfilUtilisateur;
    trouve = ChercherProfilUtilisateur(profil) && g->Genre == kGenreAdministration;
  }
  (void)Xi::RestaurerPosition(g);
  (void)Xi::RestaurerPosition(a);
  return trouve;
}

template <class R>
bool ChercherPar(R* t, int32_t ordre, const auto& remplir) {
  std::memset(static_cast<void*>(t), 0, sizeof(R));
  remplir(*t);
  Xi::Chercher(t, ordre);
  return Xi::XiStatut == Xi::kStatutEgal;
}

bool AffectationAdmise(const TypeAffectation& e) {
  auto* g = E().groupes;
  auto* u = E().utilisateurs;
  Xi::SauverPosition(g);
  Xi::SauverPosition(u);
  bool ok = ChercherProfilUtilisateur(e.ProfilUtilisateur);
  const bool admin = ok && g->Genre == kGenreAdministration;
  ok = ok && ChercherUtilisateurParIdent(e.Utilisateur) && (!admin || u->Administrateur);
  (void)Xi::RestaurerPosition(u);
  (void)Xi::RestaurerPosition(g);
  return ok;
}

// Walks a table, deleting (or unmarking) its records straight through the engine: no notification.
template <class R>
void SupprimerNonRecusDe(R* t, int32_t ordre) {
  Xi::Parcourir(
      t, ordre,
      [](intptr_t x) {
        auto* r = reinterpret_cast<R*>(x);
        if (!r->Recu) (void)Xi::Supprimer(r);
        return false;
      },
      reinterpret_cast<intptr_t>(t), nullptr, 0, false);
}

template <class R>
void EffacerMarques(R* t, int32_t ordre) {
  Xi::Parcourir(
      t, ordre,
      [](intptr_t x) {
        auto* r = reinterpret_cast<R*>(x);
        r->Recu = 0;
        (void)Xi::Modifier(r);
        return false;
      },
      reinterpret_cast<intptr_t>(t), nullptr, 0, false);
}

}  // namespace

TypeUtilisateur* Utilisateurs() { return E().utilisateurs; }
TypeGroupeUtilisateurs* GroupesUtilisateurs() { return E().groupes; }
TypeProfilServeur* ProfilsServeurs() { return E().profils; }
TypeAffectation* Affectations() { return E().affectations; }

const std::string& NomGroupeAdministration() { return E().nomAdministration; }
const std::string& NomGroupeModification() { return E().nomModification; }
const std::string& NomGroupeConsultation() { return E().nomConsultation; }

// --- Users

bool CreerUtilisateur(const TypeUtilisateur& e) {
  auto* u = E().utilisateurs;
  *u = e;
  u->Administrateur = e.Administrateur || EstSuper(e) || DetientProfilAdministration(e.Identifiant);
  return E().chgUtilisateurs.Appliquer(u, GM_Creation, u->Identifiant);
}

bool ModifierUtilisateur(const TypeUtilisateur& e) {
  auto* u = E().utilisateurs;
  if (!ChercherUtilisateurParIdent(e.Identifiant)) return false;
  u->Nom = e.Nom;
  u->Code = e.Code;
  u->Login = e.Login;
  u->MotDePasse = e.MotDePasse;
  u->Drapeau = e.Drapeau;
  u->Texte = e.Texte;
  u->Administrateur = e.Administrateur || EstSuper(e) || DetientProfilAdministration(e.Identifiant);
  u->Recu = e.Recu;
  return E().chgUtilisateurs.Appliquer(u, GM_Modification, u->Identifiant);
}

bool SupprimerUtilisateurCourant() {
  auto* u = E().utilisateurs;
  return E().chgUtilisateurs.Appliquer(u, GM_Suppression, u->Identifiant);
}

void SupprimerTousUtilisateurs(bool GarderSuperUtilisateur) {
  auto* u = E().utilisateurs;
  while (Xi::Premier(u, kUtilCode)) {
    if (GarderSuperUtilisateur && EstSuper(*u) && !Xi::Suivant(u, kUtilCode)) break;
    if (!SupprimerUtilisateurCourant()) break;
  }
}

bool ChercherUtilisateurParIdent(uint32_t Ident) {
  return ChercherPar(E().utilisateurs, kUtilIdent, [&](TypeUtilisateur& b) { b.Identifiant = Ident; });
}
bool ChercherUtilisateurParCode(std::string_view Code) {
  return ChercherPar(E().utilisateurs, kUtilCode, [&](TypeUtilisateur& b) { b.Code.Definir(Code); });
}
bool ChercherUtilisateurParLogin(std::string_view Login) {
  return ChercherPar(E().utilisateurs, kUtilLogin, [&](TypeUtilisateur& b) { b.Login.Definir(Login); });
}

// --- User profiles

bool CreerGroupeUtilisateurs(const TypeGroupeUtilisateurs& e) {
  auto* g = E().groupes;
  *g = e;
  return E().chgGroupes.Appliquer(g, GM_Creation, g->Identifiant);
}

bool ModifierGroupeUtilisateurs(const TypeGroupeUtilisateurs& e) {
  auto* g = E().groupes;
  if (!ChercherProfilUtilisateur(e.Identifiant)) return false;
  *g = e;
  return E().chgGroupes.Appliquer(g, GM_Modification, g->Identifiant);
}

bool SupprimerGroupeUtilisateursCourant() {
  auto* g = E().groupes;
  return E().chgGroupes.Appliquer(g, GM_Suppression, g->Identifiant);
}

bool ChercherProfilUtilisateur(uint32_t Ident) {
  return ChercherPar(E().groupes, kGroupeIdent, [&](TypeGroupeUtilisateurs& b) { b.Identifiant = Ident; });
}
bool ChercherProfilUtilisateurParNom(std::string_view Nom) {
  return ChercherPar(E().groupes, kGroupeNom, [&](TypeGroupeUtilisateurs& b) { b.Nom.Definir(Nom); });
}

// --- Server profiles

bool CreerProfilServeur(const TypeProfilServeur& e) {
  auto* p = E().profils;
  *p = e;
  return E().chgProfils.Appliquer(p, GM_Creation, p->Identifiant());
}

bool ModifierProfilServeur(const TypeProfilServeur& e) {
  auto* p = E().profils;
  if (!ChercherPar(p, kProfilIdent, [&](TypeProfilServeur& b) { b.DefinirIdentifiant(e.Identifiant()); })) return false;
  *p = e;
  return E().chgProfils.Appliquer(p, GM_Modification, p->Identifiant());
}

bool SupprimerProfilServeurCourant() {
  auto* p = E().profils;
  return E().chgProfils.Appliquer(p, GM_Suppression, p->Identifiant());
}

// --- Assignments

bool CreerAffectation(const TypeAffectation& e) {
  if (!AffectationAdmise(e)) return false;
  auto* a = E().affectations;
  *a = TypeAffectation{};
  a->Recu = 1;
  a->Identifiant = e.Identifiant;
  a->ProfilServeur = e.ProfilServeur;
  a->ProfilUtilisateur = e.ProfilUtilisateur;
  a->Utilisateur = e.Utilisateur;
  return E().chgAffectations.Appliquer(a, GM_Creation, a->Identifiant);
}

bool ModifierAffectation(const TypeAffectation& e) {
  if (!AffectationAdmise(e)) return false;
  auto* a = E().affectations;
  if (!ChercherAffectation(e.Identifiant)) return false;
  a->ProfilServeur = e.ProfilServeur;
  a->ProfilUtilisateur = e.ProfilUtilisateur;
  a->Utilisateur = e.Utilisateur;
  a->Recu = e.Recu;
  return E().chgAffectations.Appliquer(a, GM_Modification, a->Identifiant);
}

bool SupprimerAffectationCourante() {
  auto* a = E().affectations;
  return E().chgAffectations.Appliquer(a, GM_Suppression, a->Identifiant);
}

bool ChercherAffectation(uint32_t Ident) {
  return ChercherPar(E().affectations, kAffIdent, [&](TypeAffectation& b) { b.Identifiant = Ident; });
}
bool ChercherAffectationDe(uint32_t IdentProfilServeur, uint32_t IdentUtilisateur) {
  return ChercherPar(E().affectations, kAffProfilServeurUtilisateur, [&](TypeAffectation& b) {
    b.ProfilServeur = IdentProfilServeur;
    b.Utilisateur = IdentUtilisateur;
  });
}

bool PourChaqueAffectation(bool (*Routine)(void* Donnees), void* Donnees) {
  struct Appel {
    bool (*r)(void*);
    void* d;
  } appel{Routine, Donnees};
  return Xi::Parcourir(
      E().affectations, kAffIdent, [](intptr_t x) { auto* p = reinterpret_cast<Appel*>(x); return p->r(p->d); },
      reinterpret_cast<intptr_t>(&appel), nullptr, 0, true);
}

void SupprimerTousProfilsServeurs() {
  while (Xi::Premier(E().profils, kProfilIdent) && SupprimerProfilServeurCourant()) {}
}

void ToutSupprimer() {
  SupprimerTousUtilisateurs(false);
  while (Xi::Premier(E().groupes, kGroupeIdent) && SupprimerGroupeUtilisateursCourant()) {}
  SupprimerTousProfilsServeurs();
  while (Xi::Premier(E().affectations, kAffIdent) && SupprimerAffectationCourante()) {}
}

void EffacerMarquesReception() {
  EffacerMarques(E().utilisateurs, kUtilIdent);
  EffacerMarques(E().groupes, kGroupeIdent);
  EffacerMarques(E().affectations, kAffIdent);
}

void SupprimerNonRecus() {
  SupprimerNonRecusDe(E().utilisateurs, kUtilIdent);
  SupprimerNonRecusDe(E().groupes, kGroupeIdent);
  SupprimerNonRecusDe(E().affectations, kAffIdent);
}

bool UtilisateurAffecteAuProfilServeur(uint32_t IdentUtilisateur, uint32_t IdentProfilServeur) {
  auto* u = E().utilisateurs;
  Xi::SauverPosition(u);
  bool trouve = ChercherUtilisateurParIdent(IdentUtilisateur);
  if (trouve && EstSuper(*u)) {
    trouve = ChercherProfilUtilisateurParNom(NomGroupeAdministration());
  } else if (trouve) {
    trouve = ChercherAffectationDe(IdentProfilServeur, IdentUtilisateur) &&
             ChercherProfilUtilisateur(E().affectations->ProfilUtilisateur);
  }
  (void)Xi::RestaurerPosition(u);
  return trouve;
}

bool VerifierLogin(std::string_view Code, std::string_view MotDePasse, int32_t& Statut, bool SansMotDePasse) {
  if (!ChercherUtilisateurParCode(Code)) {
    Statut = 1;
    return false;
  }
  std::string stocke;
  TMotDePasse::StaticClass()->Decoder(E().utilisateurs->MotDePasse.Texte(), stocke);
  if (stocke == Login::SansMotDePasse()) {
    if (SansMotDePasse) {
      Statut = 0;
      return true;
    }
    stocke.clear();
  }
  const bool egal = ChaineUnicode::Majuscules1252(MotDePasse) == ChaineUnicode::Majuscules1252(stocke);
  Statut = egal ? 0 : 2;
  return egal;
}

// --- Messages of the server

namespace {

// The two serialised forms of a user differ only in the name, code and login: coded by TLogin in
// the one the server sends at login, plain in the records of its orders.
bool LireFormeUtilisateur(const void* Donnees, int32_t Taille, TypeUtilisateur& e, bool Codee) {
  if (Donnees == nullptr || Taille < 0) return false;
  TMemoryStream flux;
  flux.Write(Donnees, Taille);
  flux.Seek(0, TSeekOrigin::soBeginning);
  TBinaryFormatter f(&flux);
  f.ModeStrict = true;
  try {
    e = TypeUtilisateur{};
    std::string code, clair;
    auto texte = [&]() -> const std::string& {
      f.LireChaine(code);
      if (!Codee) return code;
      TLogin::StaticClass()->Decoder(code, clair);
      return clair;
    };
    uint32_t ident = 0;
    f.LireCardinal(ident);
    e.Identifiant = ident;
    e.Nom.Definir(texte());
    e.Code.Definir(texte());
    e.Login.Definir(texte());
    f.LireChaine(code);
    if (code.size() > kTailleCodeMotDePasseMax) return false;
    e.MotDePasse.Definir(code);
    bool b = false;
    f.LireBooleen(b);
    e.Drapeau = b;
    f.LireChaine(clair);
    e.Texte.Definir(clair);
    f.LireBooleen(b);
    e.Administrateur = b;
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

bool LireUtilisateurCrypte(const void* Donnees, int32_t Taille, TypeUtilisateur& e) {
  return LireFormeUtilisateur(Donnees, Taille, e, true);
}

bool LireUtilisateur(const void* Donnees, int32_t Taille, TypeUtilisateur& e) {
  return LireFormeUtilisateur(Donnees, Taille, e, false);
}

bool LireGroupeUtilisateursCrypte(const void* Donnees, int32_t Taille, TypeGroupeUtilisateurs& e) {
  if (Donnees == nullptr || Taille < 0) return false;
  TMemoryStream flux;
  flux.Write(Donnees, Taille);
  flux.Seek(0, TSeekOrigin::soBeginning);
  TBinaryFormatter f(&flux);
  f.ModeStrict = true;
  try {
    e = TypeGroupeUtilisateurs{};
    std::string code, clair;
    f.LireCardinal(e.Identifiant);
    f.LireChaine(code);
    TLogin::StaticClass()->Decoder(code, clair);
    e.Nom.Definir(clair);
    uint16_t genre = 0;
    f.LireWord(genre);
    e.Genre = static_cast<uint8_t>(genre);
    uint8_t droits[256];
    f.LireTampon(droits, 256);
    for (int i = 1; i < 256; ++i)
      if (droits[i] != 0) e.Droits[static_cast<std::size_t>(i / 8)] |= static_cast<uint8_t>(1u << (i % 8));
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool RecevoirUtilisateur(const void* Donnees, int32_t Taille, bool* Lu) {
  TypeUtilisateur e;
  if (Lu != nullptr) *Lu = false;
  if (!LireUtilisateurCrypte(Donnees, Taille, e)) return false;
  if (Lu != nullptr) *Lu = true;
  e.Recu = 1;
  auto* u = E().utilisateurs;
  Xi::SauverPosition(u);
  const bool existe = ChercherUtilisateurParIdent(e.Identifiant);
  (void)Xi::RestaurerPosition(u);
  return existe ? ModifierUtilisateur(e) : CreerUtilisateur(e);
}

bool RecevoirGroupeUtilisateurs(const void* Donnees, int32_t Taille, bool* Lu) {
  TypeGroupeUtilisateurs e;
  if (Lu != nullptr) *Lu = false;
  if (!LireGroupeUtilisateursCrypte(Donnees, Taille, e)) return false;
  if (Lu != nullptr) *Lu = true;
  e.Recu = 1;
  return ChercherProfilUtilisateur(e.Identifiant) ? ModifierGroupeUtilisateurs(e) : CreerGroupeUtilisateurs(e);
}

bool RecevoirAffectation(const void* Donnees, int32_t Taille, bool* Lu) {
  if (Lu != nullptr) *Lu = Donnees != nullptr && Taille == kTailleAffectation;
  if (Donnees == nullptr || Taille != kTailleAffectation) return false;
  const TypeAffectation e = TypeAffectation::DepuisOctets(static_cast<const uint8_t*>(Donnees));
  return ChercherAffectation(e.Identifiant) ? ModifierAffectation(e) : CreerAffectation(e);
}

bool RecevoirProfilServeur(const void* Donnees, int32_t Taille, bool* Lu) {
  if (Lu != nullptr) *Lu = Donnees != nullptr && Taille == kTailleProfilServeur;
  if (Donnees == nullptr || Taille != kTailleProfilServeur) return false;
  TypeProfilServeur e;
  std::memcpy(e.Octets, Donnees, kTailleProfilServeur);
  return ChercherPar(E().profils, kProfilIdent, [&](TypeProfilServeur& b) { b.DefinirIdentifiant(e.Identifiant()); })
             ? ModifierProfilServeur(e)
             : CreerProfilServeur(e);
}

// --- Change lists

void AbonnerUtilisateurs(TypeNotifierChangementUtilisateurs R, void* D) { E().chgUtilisateurs.abonnes.emplace_back(R, D); }
void DesabonnerUtilisateurs(TypeNotifierChangementUtilisateurs R, void* D) { E().chgUtilisateurs.Retirer(R, D); }
void AbonnerGroupesUtilisateurs(TypeNotifierChangementGroupesUtilisateurs R, void* D) { E().chgGroupes.abonnes.emplace_back(R, D); }
void DesabonnerGroupesUtilisateurs(TypeNotifierChangementGroupesUtilisateurs R, void* D) { E().chgGroupes.Retirer(R, D); }
void AbonnerProfilsServeurs(TypeNotifierChangementProfilsServeurs R, void* D) { E().chgProfils.abonnes.emplace_back(R, D); }
void DesabonnerProfilsServeurs(TypeNotifierChangementProfilsServeurs R, void* D) { E().chgProfils.Retirer(R, D); }
void AbonnerAffectations(TypeNotifierChangementAffectationsUtilisateurs R, void* D) { E().chgAffectations.abonnes.emplace_back(R, D); }
void DesabonnerAffectations(TypeNotifierChangementAffectationsUtilisateurs R, void* D) { E().chgAffectations.Retirer(R, D); }

void Initialiser() {
  Etat& e = E();
  e.nomAdministration = Traduction::Traduire("GroupeUtilisateursAdministration");
  e.nomModification = Traduction::Traduire("GroupeUtilisateursModification");
  e.nomConsultation = Traduction::Traduire("GroupeUtilisateursConsultation");

  auto* u = e.utilisateurs = CreerTable<TypeUtilisateur>(5);
  Ordre(u, kUtilIdent, true, {{&u->Identifiant, 4, kCardinal}});
  Ordre(u, kUtilCode, true, {{u->Code.Octets, sizeof u->Code.Octets, kChaine}});
  Ordre(u, kUtilNom, false, {{u->Nom.Octets, sizeof u->Nom.Octets, kChaine}});
  Ordre(u, kUtilTexte, false, {{u->Texte.Octets, sizeof u->Texte.Octets, kChaine}});
  Ordre(u, kUtilLogin, true, {{u->Login.Octets, sizeof u->Login.Octets, kChaine}});

  auto* g = e.groupes = CreerTable<TypeGroupeUtilisateurs>(3);
  Ordre(g, kGroupeNom, true, {{g->Nom.Octets, sizeof g->Nom.Octets, kChaine}});
  Ordre(g, kGroupeGenre, false, {{&g->Genre, 1, kOctet}});
  Ordre(g, kGroupeIdent, true, {{&g->Identifiant, 4, kCardinal}});

  auto* p = e.profils = CreerTable<TypeProfilServeur>(4);
  Ordre(p, kProfilNom, true, {{p->Octets + 4, 33, kChaine}});
  Ordre(p, kProfilIdent, true, {{p->Octets, 4, kCardinal}});
  Ordre(p, kProfilSecondNom, true, {{p->Octets + 37, 31, kChaine}});
  Ordre(p, kProfilOctets, false, {{p->Octets + 373, 1, kOctet}, {p->Octets + 372, 1, kOctet}});

  auto* a = e.affectations = CreerTable<TypeAffectation>(4);
  Ordre(a, kAffIdent, true, {{&a->Identifiant, 4, kCardinal}});
  Ordre(a, kAffProfilServeurUtilisateur, true, {{&a->ProfilServeur, 4, kCardinal}, {&a->Utilisateur, 4, kCardinal}});
  Ordre(a, kAffProfilUtil, false, {{&a->ProfilUtilisateur, 4, kCardinal}});
  Ordre(a, kAffUtilisateur, false, {{&a->Utilisateur, 4, kCardinal}});
}

void Finaliser() {
  Etat& e = E();
  Xi::Detruire(e.utilisateurs);
  Xi::Detruire(e.groupes);
  Xi::Detruire(e.profils);
  Xi::Detruire(e.affectations);
  e = Etat{};
}

}  // namespace BaseUtilisateurs
