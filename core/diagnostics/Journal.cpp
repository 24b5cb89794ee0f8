#include "core/diagnostics/Journal.h"

#include <filesystem>

#include "core/values/DateTime.h"
#include "core/values/Format.h"
#include "core/serial/Streams.h"

namespace {

IFichierJournal*& Fichier() {
  static IFichierJournal* fichier = nullptr;
  return fichier;
}

// A path with its extension (the part of its file name from the last '.') replaced.
std::string ChangerExtension(const std::string& Chemin, const std::string& Extension) {
  const std::size_t point = Chemin.find_last_of("./");
  if (point == std::string::npos || Chemin[point] == '/') return Chemin + Extension;
  return Chemin.substr(0, point) + Extension;
}

// The current date and time as the short date and the long time: "dd/mm/yyyy hh:nn:ss".
std::string DateHeureCourantes() {
  const TDateTime maintenant = DateTime::Now();
  int annee;
  unsigned mois, jour, heure, minute, seconde, milli;
  DateTime::DecodeDate(maintenant, annee, mois, jour);
  DateTime::DecodeTime(maintenant, heure, minute, seconde, milli);
  const std::string d(1, FormatSettingsFixes.DateSeparator), t(1, FormatSettingsFixes.TimeSeparator);
  return Format("%.2d%s%.2d%s%.4d %.2d%s%.2d%s%.2d", {jour, d, mois, d, annee, heure, t, minute, t, seconde});
}

}  // namespace

void Journal::SetFichier(IFichierJournal* F) { Fichier() = F; }

std::string Journal::NomJournal() {
  const std::string programme = Debug::Plateforme().FichierProgramme();
  return programme.empty() ? std::string() : ChangerExtension(programme, ".LOG");
}

bool Journal::OuvrirJournal() {
  IFichierJournal* fichier = Fichier();
  const std::string nom = NomJournal();
  if (nom.empty() || fichier == nullptr) return false;
  constexpr uint16_t kMode = fmOpenReadWrite | fmShareExclusive;  // 18
  std::error_code erreur;
  const int32_t statut =
      std::filesystem::exists(nom, erreur) ? fichier->Ouvrir(nom, kMode, 1) : fichier->Creer(nom, kMode, 1);
  if (statut != 0) return false;
  fichier->Positionner(2, 0);
  return true;
}

void Journal::FermerJournal() {
  if (Fichier()) Fichier()->Fermer();
}

void Journal::EcrireJournal(const std::string& Texte) {
  if (Texte.empty() || !OuvrirJournal()) return;
  try {
    for (const char& c : Texte) Fichier()->Ecrire(&c);
  } catch (const Exception&) {
    // A log that cannot be written is left as it is: the log never raises.
  }
  FermerJournal();
}

std::string Journal::TexteEntree(const std::string& Message, const TPileDAppel& Pile) {
  std::string texte = "\r\nPile d'appels (" + DateHeureCourantes() + ")";
  if (!Message.empty()) texte += " " + Message;
  texte += " :\r\n";
  texte += std::string(texte.size() - 4, '-');
  return texte + "\r\n" + Pile.EnTexte();
}

void Journal::JournaliserPileDAppels(const std::string& Message) {
  const TPileDAppel pile(0);
  EcrireJournal(TexteEntree(Message, pile));
}

void Journal::JournaliserException(TObject*, const Exception& E) { JournaliserPileDAppels(E.Message()); }

void Journal::Initialiser() { Debug::InstallerGestionnaireErreurs(&JournaliserException); }
