#include "platform/ui/VclDialogue.h"

#include <cstdio>
#include <deque>

#include "core/values/ChaineRessource.h"
#include "core/values/ChaineUnicode.h"

namespace VclDialogue {
namespace {

struct Etat {
  std::deque<TypeMessageEnAttente> file;
  int32_t compteur = 0;
  bool enCours = false;
  std::string nomProgramme;
  TSortie sortie;
  TypeAfficheurMessage afficheur = nullptr;
};

constexpr size_t kLongueurJournal = 2000;

Etat& E() {
  static Etat etat;
  return etat;
}

void SortieParDefaut(const std::string& Ligne) {
  const std::string utf8 = ChaineUnicode::VersUTF8(Ligne, 1252);
  std::fprintf(stderr, "%s\n", utf8.c_str());
  std::fflush(stderr);
}

// "\crlf\" (case-sensitive) stands for a line break in titles and texts; on one log line it
// becomes " / ".
std::string SurUneLigne(std::string Texte) {
  static const std::string marque = "\\crlf\\";
  for (size_t p = Texte.find(marque); p != std::string::npos; p = Texte.find(marque, p + 3))
    Texte.replace(p, marque.size(), " / ");
  for (char& c : Texte)
    if (c == '\r' || c == '\n') c = ' ';
  return Texte;
}

void AjouterMessage(const std::string& Texte, const std::string& Titre, uint8_t Genre, uint8_t Boutons,
                    TControl* Controle, int32_t DelaiMs) {
  auto& e = E();
  TypeMessageEnAttente m;
  m.Numero = ++e.compteur;
  m.Texte = Texte;
  m.Titre = Titre.substr(0, 255);
  m.Genre = Genre;
  m.Boutons = Boutons;
  m.Controle = Controle;
  m.DelaiMs = DelaiMs;
  e.file.push_back(std::move(m));
}

int32_t AfficherPremierMessage(const TypeMessageEnAttente& m) {
  Ecrire(LigneJournal(m));
  if (E().afficheur) return E().afficheur(m);
  // A timed message closes itself with 1; otherwise the default button answers.
  return m.DelaiMs > 0 ? mrOk : ReponseParDefaut(m.Boutons);
}

int32_t AfficherMessagesEnAttente() {
  auto& e = E();
  if (e.enCours) return mrCancel;
  e.enCours = true;
  int32_t resultat = mrCancel;
  try {
    while (!e.file.empty()) {
      const TypeMessageEnAttente m = std::move(e.file.front());
      e.file.pop_front();
      resultat = AfficherPremierMessage(m);
    }
  } catch (...) {
    e.enCours = false;
    throw;
  }
  e.enCours = false;
  return resultat;
}

}  // namespace

void DefinirAfficheur(TypeAfficheurMessage Afficheur) { E().afficheur = Afficheur; }

std::string LigneJournal(const TypeMessageEnAttente& m) {
  std::string ligne = Legende(m.Genre, m.Boutons);
  const std::string titre = SurUneLigne(m.Titre);
  if (!titre.empty()) ligne += (ligne.empty() ? "" : " : ") + titre;
  ligne += (ligne.empty() ? "" : " : ") + SurUneLigne(m.Texte.substr(0, kLongueurJournal));
  return ligne;
}

void DefinirNomProgramme(const std::string& Nom) { E().nomProgramme = Nom; }
const std::string& NomProgramme() { return E().nomProgramme; }
void DefinirSortie(TSortie Sortie) { E().sortie = std::move(Sortie); }

void Ecrire(const std::string& Ligne) {
  auto& e = E();
  if (e.sortie) e.sortie(Ligne);
  else SortieParDefaut(Ligne);
}

const TChaineRessource RS_SVokMsgDlgInformation{"VclDialogue_SVokMsgDlgInformation", 65211, "Information"};
const TChaineRessource RS_SVokMsgDlgConfirmation{"VclDialogue_SVokMsgDlgConfirmation", 65212, "Confirmation"};
const TChaineRessource RS_SVokMsgDlgConseil{"VclDialogue_SVokMsgDlgConseil", 65213, "Conseil"};
const TChaineRessource RS_SVokMsgDlgAideFenetre{"VclDialogue_SVokMsgDlgAideFenetre", 65214, "Aide"};
const TChaineRessource RS_SVokMsgDlgAlerte{"VclDialogue_SVokMsgDlgAlerte", 65215, "Alerte"};

void Initialiser() {
  static const TChaineRessource* const kChaines[] = {&RS_SVokMsgDlgInformation, &RS_SVokMsgDlgConfirmation,
                                                     &RS_SVokMsgDlgConseil, &RS_SVokMsgDlgAideFenetre,
                                                     &RS_SVokMsgDlgAlerte};
  ChaineRessource::Enregistrer(kChaines);
}

std::string Legende(uint8_t Genre, uint8_t Boutons) {
  static const TChaineRessource* const mots[] = {&RS_SVokMsgDlgInformation, &RS_SVokMsgDlgConfirmation,
                                                 &RS_SVokMsgDlgConseil,     &RS_SVokMsgDlgInformation,
                                                 &RS_SVokMsgDlgAideFenetre, &RS_SVokMsgDlgAlerte};
  if (Genre > kAlerte) return {};
  const TChaineRessource* mot = Genre == kInformationOuConfirmation && Boutons != kOk ? mots[kConfirmation] : mots[Genre];
  return E().nomProgramme + " - " + ChaineRessource::Charger(*mot);
}

int32_t ReponseParDefaut(uint8_t Boutons) {
  switch (Boutons) {
    case kOuiNon:
    case kOuiAnnuler:
    case kOuiNonAnnuler:
    case kOuiNonTous:
      return mrYes;
    case kOk:
    case kOkAnnuler:
      return mrOk;
    default:
      return mrCancel;  // no button: only the close box ends it
  }
}

int32_t AfficherMessage(bool Interactif, const std::string& Texte, const std::string& Titre, uint8_t Genre,
                        uint8_t Boutons, bool Attendre) {
  return AfficherMessage(Interactif, Texte, Titre, Genre, Boutons, nullptr, Attendre);
}

int32_t AfficherMessage(bool Interactif, const std::string& Texte, const std::string& Titre, uint8_t Genre,
                        uint8_t Boutons, TControl* Controle, bool Attendre) {
  if (!Interactif) return (Boutons & kOk) ? mrOk : mrYes;
  AjouterMessage(Texte, Titre, Genre, Boutons, Controle, 0);
  return Attendre ? AfficherMessagesEnAttente() : mrCancel;
}

void AfficherMessageTemporise(const std::string& Texte, const std::string& Titre, int32_t DelaiMs, uint8_t Genre,
                              uint8_t Boutons, bool Afficher) {
  AjouterMessage(Texte, Titre, Genre, Boutons, nullptr, DelaiMs);
  if (Afficher) AfficherMessagesEnAttente();
}

bool MessageEnCours() { return E().enCours; }
int32_t MessagesEnAttente() { return static_cast<int32_t>(E().file.size()); }

}  // namespace VclDialogue
