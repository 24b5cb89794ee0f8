#include "streams/SupParametreClient.h"

#include "core/values/Format.h"

namespace SupParametreClient {

namespace {

const std::string kDerniereSauvegarde = "Derniere Sauvegarde";
const std::string kAdresseIpServeur = "Adresse IP du Serveur";
const std::string kPortTcpServeur = "Port TCP du Serveur";
const std::string kDateParDefaut = "5/2/2007 00:00:00";

// The registry object's key followed by "\Connexion" while it lives, then the key it had.
class TCleConnexion {
 public:
  explicit TCleConnexion(TRegistre& Registre) : registre_(Registre), racine_(Registre.Racine) {
    registre_.Racine += "\\Connexion";
  }
  TCleConnexion(const TCleConnexion&) = delete;
  TCleConnexion& operator=(const TCleConnexion&) = delete;
  ~TCleConnexion() { registre_.Racine = racine_; }

 private:
  TRegistre& registre_;
  std::string racine_;
};

// Reads a decimal number of 1 to Chiffres digits at Position.
bool LireNombre(const std::string& Texte, size_t& Position, int Chiffres, unsigned& Nombre) {
  Nombre = 0;
  int lus = 0;
  while (Position < Texte.size() && Texte[Position] >= '0' && Texte[Position] <= '9' && lus < Chiffres) {
    Nombre = Nombre * 10 + static_cast<unsigned>(Texte[Position++] - '0');
    ++lus;
  }
  return lus > 0;
}

bool Lire(const std::string& Texte, size_t& Position, char Attendu) {
  if (Position >= Texte.size() || Texte[Position] != Attendu) return false;
  ++Position;
  return true;
}

// "d/M/yyyy h:m:s" with the time optional (seconds too); false for anything else or a date or
// time that does not exist.
bool AnalyserDate(const std::string& Texte, TDateTime& Date) {
  size_t p = Texte.find_first_not_of(' ');
  if (p == std::string::npos) return false;
  unsigned jour = 0, mois = 0, annee = 0, heure = 0, minute = 0, seconde = 0;
  if (!LireNombre(Texte, p, 2, jour) || !Lire(Texte, p, '/') || !LireNombre(Texte, p, 2, mois) ||
      !Lire(Texte, p, '/') || !LireNombre(Texte, p, 4, annee))
    return false;
  const size_t avantHeure = p;
  while (p < Texte.size() && Texte[p] == ' ') ++p;
  if (p < Texte.size() && p > avantHeure) {
    if (!LireNombre(Texte, p, 2, heure) || !Lire(Texte, p, ':') || !LireNombre(Texte, p, 2, minute)) return false;
    if (Lire(Texte, p, ':') && !LireNombre(Texte, p, 2, seconde)) return false;
    while (p < Texte.size() && Texte[p] == ' ') ++p;
  }
  if (p != Texte.size()) return false;
  const int an = static_cast<int>(annee);
  if (an < 1 || mois < 1 || mois > 12 || jour < 1 || jour > DateTime::DaysInMonth(an, mois) || heure > 23 ||
      minute > 59 || seconde > 59)
    return false;
  Date = DateTime::EncodeDate(an, mois, jour) + DateTime::EncodeTime(heure, minute, seconde, 0);
  return true;
}

}  // namespace

TDateTime DateSauvegarde(const std::string& Texte) {
  TDateTime date = 0;
  if (AnalyserDate(Texte, date)) return date;
  // An unreadable stamp counts as the oldest one rather than stopping the reading.
  AnalyserDate(kDateParDefaut, date);
  return date;
}

std::string TexteSauvegarde(TDateTime Date) {
  int annee = 0;
  unsigned mois = 0, jour = 0, heure = 0, minute = 0, seconde = 0, milli = 0;
  DateTime::DecodeDate(Date, annee, mois, jour);
  DateTime::DecodeTime(Date, heure, minute, seconde, milli);
  return Format("%.2d/%.2d/%.4d %.2d:%.2d:%.2d", {jour, mois, annee, heure, minute, seconde});
}

void LireParametresConnexion(TypeParametresConnexion& Parametres, TRegistre& Registre) {
  TCleConnexion cle(Registre);
  const TDateTime utilisateur = DateSauvegarde(Registre.LireChaineUtilisateur(kDerniereSauvegarde, kDateParDefaut));
  const TDateTime machine = DateSauvegarde(Registre.LireChaineMachine(kDerniereSauvegarde, kDateParDefaut));
  const int32_t priorite = utilisateur > machine ? 0 : 1;
  Registre.LireChaine(kAdresseIpServeur, Parametres.AdresseIpServeur, Parametres.AdresseIpServeur, priorite);
  Registre.LireChaine(kPortTcpServeur, Parametres.PortTcpServeur, Parametres.PortTcpServeur, priorite);
}

void SauverParametresConnexion(const TypeParametresConnexion& Parametres, TRegistre& Registre) {
  TCleConnexion cle(Registre);
  Registre.EcrireChaine(kDerniereSauvegarde, TexteSauvegarde(DateTime::Now()));
  Registre.EcrireChaine(kAdresseIpServeur, Parametres.AdresseIpServeur);
  Registre.EcrireChaine(kPortTcpServeur, Parametres.PortTcpServeur);
}

void LireParametresConnexion(TIeClient& Client, TRegistre& Registre) {
  TypeParametresConnexion parametres{Client.GetAdresseIpServeur(), Client.GetPortTcpServeur()};
  LireParametresConnexion(parametres, Registre);
  Client.SetAdresseIpServeur(parametres.AdresseIpServeur);
  Client.SetPortTcpServeur(parametres.PortTcpServeur);
}

void SauverParametresConnexion(TIeClient& Client, TRegistre& Registre) {
  SauverParametresConnexion(TypeParametresConnexion{Client.GetAdresseIpServeur(), Client.GetPortTcpServeur()},
                            Registre);
}

}  // namespace SupParametreClient
