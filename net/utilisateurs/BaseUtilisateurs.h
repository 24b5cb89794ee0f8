// The client's copy of the server's accounts: users, user profiles (groups with a kind and a set of
// rights), server profiles (the configurations under which clients connect) and assignments (which
// user holds which user profile in which server profile), in four record tables. The data client
// fills them at login and from the server's user-base messages; the rest of the system asks its
// questions here and in Utilisateur. Every search positions its table; routines called from other
// units restore the positions they move.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/NetXi.h"

// A counted string: a length byte, then up to N characters (Windows-1252).
template <int N>
struct TypeChaineComptee {
  uint8_t Octets[N + 1] = {};
  std::string Texte() const;
  // Keeps at most N characters.
  void Definir(std::string_view S);
};

using TypeCodeUtilisateur = TypeChaineComptee<3>;
using TypeEnsembleDroits = std::array<uint8_t, 32>;  // bit n in byte n / 8 at weight 2^(n mod 8)

// The longest password coding a user record keeps; a longer one is refused with its message.
inline constexpr int kTailleCodeMotDePasseMax = 64;

struct TypeUtilisateur {
  uint32_t Identifiant = 0;
  TypeChaineComptee<32> Nom;
  TypeCodeUtilisateur Code;
  TypeChaineComptee<30> Login;
  TypeChaineComptee<kTailleCodeMotDePasseMax> MotDePasse;  // the TMotDePasse coding
  uint8_t Drapeau = 0;
  TypeChaineComptee<20> Texte;
  uint8_t Administrateur = 0;
  uint8_t Recu = 0;
};

enum : uint8_t { kGenreAdministration = 0, kGenreModification = 1, kGenreConsultation = 2 };

struct TypeGroupeUtilisateurs {
  uint32_t Identifiant = 0;
  TypeChaineComptee<32> Nom;
  uint8_t Genre = 0;
  TypeEnsembleDroits Droits = {};
  uint8_t Recu = 0;
};

// Server profiles and assignments are fixed wire records, kept as their bytes.
inline constexpr int kTailleProfilServeur = 640;
inline constexpr int kTailleAffectation = 20;
struct TypeProfilServeur {
  uint8_t Octets[kTailleProfilServeur] = {};
  uint32_t Identifiant() const;
  std::string Nom() const;         // offset 4, counted string of 32
  std::string SecondNom() const;   // offset 37, counted string of 30
  std::string CheminBase() const;  // offset 68, counted string of 255: the full path of the profile's base
  bool Actif() const;              // offset 372, the active flag byte
  void DefinirCheminBase(std::string_view Chemin);
  void DefinirActif(bool Valeur);
  void DefinirIdentifiant(uint32_t Ident);
  void DefinirNom(std::string_view Nom);
  void DefinirSecondNom(std::string_view Nom);
  // Zeroed, with the bytes at 374, 375 and 632 set.
  static TypeProfilServeur Vierge();
};
struct TypeAffectation {
  uint32_t Identifiant = 0;
  uint32_t ProfilServeur = 0;
  uint32_t ProfilUtilisateur = 0;
  uint32_t Utilisateur = 0;
  uint8_t Recu = 0;
  uint8_t Inutilise[3] = {};
  // The 20 wire bytes (little-endian) and back.
  static TypeAffectation DepuisOctets(const uint8_t* Octets);
};

// Change lists: each subscriber is called after a creation, change or deletion (record nil then).
using TypeNotifierChangementUtilisateurs = void (*)(TypeGenreModif Genre, uint32_t Ident, const TypeUtilisateur* E,
                                                    void* Donnees);
using TypeNotifierChangementGroupesUtilisateurs = void (*)(TypeGenreModif Genre, uint32_t Ident,
                                                           const TypeGroupeUtilisateurs* E, void* Donnees);
using TypeNotifierChangementProfilsServeurs = void (*)(TypeGenreModif Genre, uint32_t Ident,
                                                       const TypeProfilServeur* E, void* Donnees);
using TypeNotifierChangementAffectationsUtilisateurs = void (*)(TypeGenreModif Genre, uint32_t Ident,
                                                                const TypeAffectation* E, void* Donnees);

namespace BaseUtilisateurs {

// The table handles (their current-record buffers); nil before Initialiser and after Finaliser.
TypeUtilisateur* Utilisateurs();
TypeGroupeUtilisateurs* GroupesUtilisateurs();
TypeProfilServeur* ProfilsServeurs();
TypeAffectation* Affectations();

// Orders of the tables.
enum : int32_t { kUtilIdent = 1, kUtilCode, kUtilNom, kUtilTexte, kUtilLogin };
enum : int32_t { kGroupeNom = 1, kGroupeGenre, kGroupeIdent };
enum : int32_t { kProfilNom = 1, kProfilIdent, kProfilSecondNom, kProfilOctets };
enum : int32_t { kAffIdent = 1, kAffProfilServeurUtilisateur, kAffProfilUtil, kAffUtilisateur };

// The translated names of the default groups; the super user's rights come from the group named
// like the administration one.
const std::string& NomGroupeAdministration();
const std::string& NomGroupeModification();
const std::string& NomGroupeConsultation();

// --- Users. Creation and modification compute the administrator flag: given, or code "SPR", or
// an administration profile held in some server profile.
[[nodiscard]] bool CreerUtilisateur(const TypeUtilisateur& E);
[[nodiscard]] bool ModifierUtilisateur(const TypeUtilisateur& E);
[[nodiscard]] bool SupprimerUtilisateurCourant();
void SupprimerTousUtilisateurs(bool GarderSuperUtilisateur);
bool ChercherUtilisateurParIdent(uint32_t Ident);
bool ChercherUtilisateurParCode(std::string_view Code);
bool ChercherUtilisateurParLogin(std::string_view Login);

// --- User profiles.
[[nodiscard]] bool CreerGroupeUtilisateurs(const TypeGroupeUtilisateurs& E);
[[nodiscard]] bool ModifierGroupeUtilisateurs(const TypeGroupeUtilisateurs& E);
[[nodiscard]] bool SupprimerGroupeUtilisateursCourant();
bool ChercherProfilUtilisateur(uint32_t Ident);
bool ChercherProfilUtilisateurParNom(std::string_view Nom);

// --- Server profiles.
[[nodiscard]] bool CreerProfilServeur(const TypeProfilServeur& E);
[[nodiscard]] bool ModifierProfilServeur(const TypeProfilServeur& E);
[[nodiscard]] bool SupprimerProfilServeurCourant();
// Empties the table, each deletion notified.
void SupprimerTousProfilsServeurs();

// --- Assignments: refused when the user profile or the user is unknown, or when the profile is of
// kind administration and the user is no administrator.
[[nodiscard]] bool CreerAffectation(const TypeAffectation& E);
[[nodiscard]] bool ModifierAffectation(const TypeAffectation& E);
[[nodiscard]] bool SupprimerAffectationCourante();
bool ChercherAffectation(uint32_t Ident);
bool ChercherAffectationDe(uint32_t IdentProfilServeur, uint32_t IdentUtilisateur);
// Calls Routine(Donnees) with each assignment current until it answers True.
bool PourChaqueAffectation(bool (*Routine)(void* Donnees), void* Donnees);

// Empties the four tables (users keep "SPR" when asked).
void ToutSupprimer();

// Around a reload: clear every received mark; then delete every record still unmarked, straight
// from its table, without notifying (users, user profiles, assignments).
void EffacerMarquesReception();
void SupprimerNonRecus();

// The user's assignment in a server profile: True with the user-profile table positioned on the
// profile held (for the super user, the group named like the administration group). The user
// table's position is restored.
bool UtilisateurAffecteAuProfilServeur(uint32_t IdentUtilisateur, uint32_t IdentProfilServeur);

// Login check: Statut 0 accepted, 1 unknown code, 2 wrong password. Passwords compare without case;
// a stored no-password sentinel passes any password when SansMotDePasse, else only an empty one.
bool VerifierLogin(std::string_view Code, std::string_view MotDePasse, int32_t& Statut, bool SansMotDePasse);

// --- The server's user-base messages (any length for users and profiles, exact for the fixed
// records). Each stores its record, creating or changing it by identifier; False when the bytes do
// not hold a whole record (nothing is stored then) or the table refused it. Lu, when given, tells
// whether the bytes held a whole record, stored or refused.
bool RecevoirUtilisateur(const void* Donnees, int32_t Taille, bool* Lu = nullptr);
bool RecevoirGroupeUtilisateurs(const void* Donnees, int32_t Taille, bool* Lu = nullptr);
bool RecevoirAffectation(const void* Donnees, int32_t Taille, bool* Lu = nullptr);
bool RecevoirProfilServeur(const void* Donnees, int32_t Taille, bool* Lu = nullptr);
// The readers behind them: False for bytes that do not hold a whole coded form.
bool LireUtilisateurCrypte(const void* Donnees, int32_t Taille, TypeUtilisateur& E);
// The user in its plain form (the record of a user-base order): identifier; name, code, login (cut
// to 32, 3, 30); password coding; flag; text (cut to 20); administrator.
bool LireUtilisateur(const void* Donnees, int32_t Taille, TypeUtilisateur& E);
bool LireGroupeUtilisateursCrypte(const void* Donnees, int32_t Taille, TypeGroupeUtilisateurs& E);

// Subscriptions to the change lists; unsubscribing removes the entry with that routine and data (the
// first with that routine when Donnees is nil).
void AbonnerUtilisateurs(TypeNotifierChangementUtilisateurs R, void* Donnees);
void DesabonnerUtilisateurs(TypeNotifierChangementUtilisateurs R, void* Donnees = nullptr);
void AbonnerGroupesUtilisateurs(TypeNotifierChangementGroupesUtilisateurs R, void* Donnees);
void DesabonnerGroupesUtilisateurs(TypeNotifierChangementGroupesUtilisateurs R, void* Donnees = nullptr);
void AbonnerProfilsServeurs(TypeNotifierChangementProfilsServeurs R, void* Donnees);
void DesabonnerProfilsServeurs(TypeNotifierChangementProfilsServeurs R, void* Donnees = nullptr);
void AbonnerAffectations(TypeNotifierChangementAffectationsUtilisateurs R, void* Donnees);
void DesabonnerAffectations(TypeNotifierChangementAffectationsUtilisateurs R, void* Donnees = nullptr);

void Initialiser();
void Finaliser();

}  // namespace BaseUtilisateurs
