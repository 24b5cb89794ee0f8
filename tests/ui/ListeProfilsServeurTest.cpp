// The server-profile list: the active profiles in the order of the server-profile table, the
// buttons that follow the selection, the connection on a double click, the administrators' codes,
// the cell hints and the width of the first column.
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/records/Xi.h"
#include "net/utilisateurs/BaseUtilisateurs.h"
#include "net/utilisateurs/ProfilServeur.h"
#include "net/utilisateurs/Utilisateur.h"
#include "objectdb/Traduction.h"
#include "platform/ui/VclDialogue.h"
#include "platform/gui/Saisie.h"
#include "tests/ui/FenetresEssai.h"
#include "ui/Fiche.h"
#include "ui/ListeSimpleProfilsServeur.h"
#include "ui/VclHint.h"

namespace fs = std::filesystem;

namespace {

TypeUtilisateur Utilisateur(uint32_t Ident, const std::string& Code) {
  TypeUtilisateur u;
  u.Identifiant = Ident;
  u.Code.Definir(Code);
  u.Nom.Definir("Nom " + Code);
  u.Login.Definir("login" + Code);
  u.Administrateur = 1;
  return u;
}

class ListeProfils : public FenetresEssai {
 protected:
  void SetUp() override {
    FenetresEssai::SetUp();
    BaseUtilisateurs::ToutSupprimer();
    // Eight profiles "P1" to "P8" (positions 1 to 8 of the table's order by name); P3 and P7 active.
    for (uint32_t i = 1; i <= 8; ++i) {
      TypeProfilServeur p = TypeProfilServeur::Vierge();
      p.DefinirIdentifiant(i * 10);
      p.DefinirNom("P" + std::to_string(i));
      p.DefinirSecondNom("second " + std::to_string(i));
      p.DefinirCheminBase(i == 3 ? "C:\\Bases\\Lycee\\planning-du-lycee-et-du-college.bas" : "/srv/p" + std::to_string(i) + ".bas");
      p.DefinirActif(i == 3 || i == 7);
      ASSERT_TRUE(BaseUtilisateurs::CreerProfilServeur(p));
    }
    TypeGroupeUtilisateurs g;
    g.Identifiant = 10;
    g.Nom.Definir("Admin");
    g.Genre = kGenreAdministration;
    ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(g));
    g.Identifiant = 11;
    g.Nom.Definir("Modif");
    g.Genre = kGenreModification;
    ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(g));
    // Users in identifier order: DEF before GHI and ABC; "SPR" and "MOD" (a modifier) are left out.
    const char* codes[] = {"SPR", "DEF", "MOD", "ABC", "GHI"};
    for (uint32_t i = 0; i < 5; ++i) ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(Utilisateur(i + 1, codes[i])));
    uint32_t a = 1;
    for (uint32_t u : {1u, 2u, 4u}) ASSERT_TRUE(BaseUtilisateurs::CreerAffectation({a++, 30, 10, u, 0, {}}));
    ASSERT_TRUE(BaseUtilisateurs::CreerAffectation({a++, 30, 11, 3, 0, {}}));
    ASSERT_TRUE(BaseUtilisateurs::CreerAffectation({a++, 70, 10, 5, 0, {}}));

    fiche = new TForm(nullptr);
    fiche->SetBorderStyle(TFormBorderStyle::bsNone);
    fiche->SetBounds(0, 0, 800, 500);
    conteneur = new TVokPanel(fiche);
    conteneur->SetParent(fiche);
    conteneur->SetBounds(0, 0, 800, 500);
    fiche->Show();
    ListeSimpleProfilsServeur::AfficherListeProfilsServeur(conteneur, 0x2066DD,
                                                           [this](uint32_t Ident) { choisis.push_back(Ident); });
    ASSERT_NE(ListeSimpleProfilsServeur::Fiche(), nullptr);
    liste = ListeSimpleProfilsServeur::Fiche()->ListeProfils;
  }
  void TearDown() override {
    ListeSimpleProfilsServeur::MasquerListeProfilsServeur();
    Fiche::LibererFichesDifferees();
    delete fiche;
    BaseUtilisateurs::ToutSupprimer();
    VclHint::Oublier();
    FenetresEssai::TearDown();
  }
  TPoint Centre(int32_t Col, int32_t Row) const {
    const TRect r = liste->RectangleCellule(Col, Row);
    const TPoint p = liste->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    return fiche->ScreenToClient(p);
  }

  TForm* fiche = nullptr;
  TVokPanel* conteneur = nullptr;
  TVokStringList* liste = nullptr;
  std::vector<uint32_t> choisis;
};

TEST_F(ListeProfils, OnlyActiveProfilesAreListedInTheOrderOfTheTable) {
  EXPECT_EQ(ListeSimpleProfilsServeur::NombreLignes(), 2);
  EXPECT_EQ(ListeSimpleProfilsServeur::IdentALaLigne(1), 30u);
  EXPECT_EQ(ListeSimpleProfilsServeur::IdentALaLigne(2), 70u);
  EXPECT_EQ(liste->RowCount(), 3);
  EXPECT_EQ(liste->ColCount(), 3);
  EXPECT_EQ(ListeSimpleProfilsServeur::Fiche()->PanelPrincipal->Parent(), conteneur);
  EXPECT_EQ(ListeSimpleProfilsServeur::Fiche()->PanelTitreListe->Color(), 0x2066DD);
  // The painted cells: the name, the base's file name and the administrators.
  TCanvasEnregistreur c;
  liste->PeindreGrille(c, liste->ClientRect());
  const std::string dump = c.Dump();
  for (const char* texte : {"\"P3\"", "\"planning-du-lycee-et-du-college.bas\"", "\"DEF, ABC\"", "\"P7\"", "\"p7.bas\"",
                            "\"GHI\""})
    EXPECT_NE(dump.find(texte), std::string::npos) << texte;
  EXPECT_EQ(dump.find("\"P1\""), std::string::npos);
  // Showing it again while shown does nothing; refreshing follows the table.
  ASSERT_TRUE(ProfilServeur::ChercherProfilServeur(50));
  TypeProfilServeur p = *BaseUtilisateurs::ProfilsServeurs();
  p.DefinirActif(true);
  ASSERT_TRUE(BaseUtilisateurs::ModifierProfilServeur(p));
  ListeSimpleProfilsServeur::ActualiserListeProfilsServeur();
  EXPECT_EQ(ListeSimpleProfilsServeur::IdentALaLigne(2), 50u);
  EXPECT_EQ(liste->RowCount(), 4);
}

TEST_F(ListeProfils, TheButtonsFollowTheSelectionAndADoubleClickConnects) {
  TFicheListeSimpleProfilsServeur& f = *ListeSimpleProfilsServeur::Fiche();
  EXPECT_FALSE(f.BtnLancerServeur->Enabled());
  EXPECT_FALSE(f.BtnCreerRaccourci->Enabled());
  Saisie::EnfoncerSouris(*fiche, Centre(0, 2));
  Saisie::RelacherSouris(*fiche, Centre(0, 2));
  EXPECT_TRUE(f.BtnLancerServeur->Enabled());
  EXPECT_TRUE(f.BtnCreerRaccourci->Enabled());
  Saisie::EnfoncerSouris(*fiche, Centre(0, 1), TMouseButton::mbLeft, ssCtrl);
  Saisie::RelacherSouris(*fiche, Centre(0, 1), TMouseButton::mbLeft, ssCtrl);
  EXPECT_EQ(liste->NombreSelectionnes(), 2);
  EXPECT_FALSE(f.BtnLancerServeur->Enabled());
  EXPECT_FALSE(f.BtnCreerRaccourci->Enabled());
  // A double click on row 1 connects to its profile, as the button does.
  Saisie::EnfoncerSouris(*fiche, Centre(1, 1));
  Saisie::RelacherSouris(*fiche, Centre(1, 1));
  liste->DblClick();
  EXPECT_EQ(choisis, std::vector<uint32_t>{30});
  Saisie::Cliquer(*f.BtnLancerServeur);
  EXPECT_EQ(choisis, (std::vector<uint32_t>{30, 30}));
}

TEST_F(ListeProfils, TheShortcutButtonWritesTheSelectedProfilesDesktopEntry) {
  const char* ancien = std::getenv("HOME");
  const std::optional<std::string> homeAvant = ancien ? std::optional<std::string>(ancien) : std::nullopt;
  std::string modele = (fs::temp_directory_path() / "profilsXXXXXX").string();
  ASSERT_NE(::mkdtemp(modele.data()), nullptr);
  ::setenv("HOME", modele.c_str(), 1);
  std::vector<std::string> messages;
  VclDialogue::DefinirSortie([&](const std::string& l) { messages.push_back(l.substr(l.rfind(" : ") + 3)); });
  Traduction::DefinirTexte("ProfilServeurEcrSvcWPrincipalFormatNomRaccourci", "%s");
  Traduction::DefinirTexte("ProfilServeurEcrSvcWPrincipalFormatDescriptionRaccourci", "Lance %s");
  Traduction::DefinirTexte("ProfilServeurListeSimpleProfilsServeurRaccourciOK", "ok");

  Saisie::EnfoncerSouris(*fiche, Centre(0, 1));
  Saisie::RelacherSouris(*fiche, Centre(0, 1));
  Saisie::Cliquer(*ListeSimpleProfilsServeur::Fiche()->BtnCreerRaccourci);
  const bool ecrit = fs::is_regular_file(fs::path(modele) / "Desktop" / "P3.desktop");

  VclDialogue::DefinirSortie(nullptr);
  Traduction::Vider();
  std::error_code e;
  fs::remove_all(modele, e);
  if (homeAvant) ::setenv("HOME", homeAvant->c_str(), 1);
  else ::unsetenv("HOME");
  EXPECT_TRUE(ecrit);
  EXPECT_EQ(messages, std::vector<std::string>{"ok"});
}

TEST_F(ListeProfils, TheAdministratorsAreTheUsersWhoMayAdministerTheProfileSuperUserAside) {
  std::string texte;
  ASSERT_TRUE(ProfilServeur::ChercherProfilServeur(30));
  TexteAdministrateursProfilServeur(texte);
  EXPECT_EQ(texte, "DEF, ABC");
  ASSERT_TRUE(ProfilServeur::ChercherProfilServeur(20));
  TexteAdministrateursProfilServeur(texte);
  EXPECT_EQ(texte, "");
}

TEST_F(ListeProfils, TheFirstColumnTakesTheWidthTheOthersAndTheScrollBarLeave) {
  const int32_t attendue = liste->Width() - (300 + 1) - (150 + 1) - 17;
  EXPECT_EQ(liste->ColWidths(0), attendue);
  conteneur->SetWidth(700);
  ListeSimpleProfilsServeur::Fiche()->PanelListePostResize();
  EXPECT_EQ(liste->ColWidths(0), liste->Width() - (300 + 1) - (150 + 1) - 17);
}

TEST_F(ListeProfils, TheBaseColumnAlwaysHintsAndANameThatFitsDoesNot) {
  Saisie::DeplacerSouris(*fiche, Centre(0, 1));
  EXPECT_FALSE(VclHint::BulleApplication().Active);  // "P3" fits its cell
  EXPECT_EQ(liste->Cursor, 1);                       // an active profile: the double-click cursor
  Saisie::DeplacerSouris(*fiche, Centre(1, 2));
  ASSERT_TRUE(VclHint::BulleApplication().Active);
  EXPECT_EQ(VclHint::BulleApplication().Texte, "/srv/p7.bas");
  EXPECT_EQ(VclHint::DerniereCellule(), (TListCoord{2, 2}));
  Saisie::DeplacerSouris(*fiche, Centre(1, 0));  // a header cell: the default cursor
  EXPECT_EQ(liste->Cursor, 0);
}

TEST_F(ListeProfils, NothingShowsWithoutTheServerProfileTable) {
  ListeSimpleProfilsServeur::MasquerListeProfilsServeur();
  EXPECT_FALSE(ListeSimpleProfilsServeur::Affichee());
  BaseUtilisateurs::Finaliser();
  ListeSimpleProfilsServeur::AfficherListeProfilsServeur(conteneur, 0, nullptr);
  EXPECT_FALSE(ListeSimpleProfilsServeur::Affichee());
  BaseUtilisateurs::Initialiser();
  // The user-administration panels do not exist: their entry points return at once.
  FermerPanneauUtilisateurs();
  ActualiserPanneauUtilisateurs();
  FermerPanneauAffectations();
  ActualiserPanneauAffectations();
}

}  // namespace
