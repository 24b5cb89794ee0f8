// Questions about users asked by the rest of the system: the current user (whose code the web
// service sets at login) and the server profile of the connection, the super user ("SPR") and the
// guest ("INV"), access to server profiles and the login check. Every routine restores the table
// positions it moves, except the searches, whose purpose is to position the user table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Utilisateur {

inline constexpr std::string_view kCodeSuperUtilisateur = "SPR";
inline constexpr std::string_view kCodeInvite = "INV";

// Login results.
enum : int32_t { LoginOk = 0, MotDePasseIncorrect = 3, LoginInconnu = 4, ConnexionRefusee = 8 };

// The current user code (empty when nobody is logged in) and the server profile of the connection.
std::string& CodeUtilisateurCourant();
uint32_t& IdentProfilServeurConnexion();

bool ChercherUtilisateur(uint32_t Ident);
bool ChercherUtilisateurParCode(std::string_view Code);

// About the user table's current record.
bool EstSuperUtilisateur();
bool EstInvite();
// "SPR": True; "INV": False; others: assigned to the server profile with an administration profile.
bool AccedeProfilServeur(uint32_t IdentProfilServeur);
// "SPR" or "INV": True; others: assigned to the server profile with any profile.
bool AffecteAuProfilServeur(uint32_t IdentProfilServeur);
// The kind of the profile held in the server profile; 3 when none.
uint8_t GenreProfilUtilisateur(uint32_t IdentProfilServeur);

// The current user code is "SPR".
bool UtilisateurCourantEstSuperUtilisateur();
// The current user may administer the server-profile table's current record; False when unknown.
bool UtilisateurCourantAccedeProfilServeur();
// The user of that code may administer the server profile of the connection.
bool UtilisateurAccedeProfilServeurCourant(std::string_view Code);

// The login check with no password bypass: Resultat LoginOk, LoginInconnu or MotDePasseIncorrect.
bool ControlerLogin(std::string_view Code, std::string_view MotDePasse, int32_t& Resultat);

void Initialiser();

}  // namespace Utilisateur
