// The login dialog, driven by the scripted modal driver: what is typed in each showing, the answers
// and the refusal messages (read from the log, where messages go without the toolkit's window).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/utilisateurs/NetUser.h"
#include "objectdb/Traduction.h"
#include "platform/gui/Saisie.h"
#include "platform/loop/MainLoop.h"
#include "platform/ui/SaisieEnCours.h"
#include "platform/ui/VclDialogue.h"
#include "tests/net/utilisateurs/UtilisateursFixture.h"

namespace {

class NetUserTest : public BaseUtilisateursTest {
 protected:
  void SetUp() override {
    BaseUtilisateursTest::SetUp();
    boucle = std::make_unique<MainLoop>([] {}, [] {});
    Application().DefinirBoucle(boucle.get());
    Application().DefinirPiloteModal(&pilote);
    VclDialogue::DefinirSortie([this](const std::string& l) { messages.push_back(l.substr(l.rfind(" : ") + 3)); });
    Traduction::DefinirTexte("NetUserLoginIncorrect", "incorrect");
    Traduction::DefinirTexte("NetUserUtilisateurAffecteAAucunProfilsUtilisdation", "non affecte");
    Traduction::DefinirTexte("NetUserTitreFenetre", "Identification");
    Traduction::DefinirTexte("NetUserCode", "Code");
    NetUser::DernierCodeAccepte() = "SPR";
    ASSERT_TRUE(BaseUtilisateurs::CreerGroupeUtilisateurs(UnGroupe(10, "G", kGenreModification, {})));
    ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(1, "USR", "secret")));
    ASSERT_TRUE(BaseUtilisateurs::CreerUtilisateur(UnUtilisateur(2, "AUT", "autre")));
    ASSERT_TRUE(BaseUtilisateurs::CreerAffectation(UneAffectation(1, 100, 10, 1)));
    pilote.Script = [this](TForm& f) {
      auto& d = dynamic_cast<TPasswordDlg&>(f);
      vus.push_back(d.EditLogin->Text() + (d.EditLogin->Enabled() ? "" : " verrouille") + "|" + d.Caption());
      const size_t i = vus.size() - 1;
      if (i < saisies.size()) saisies[i](d);
    };
  }
  void TearDown() override {
    VclDialogue::DefinirSortie(nullptr);
    Traduction::Vider();
    Application().DefinirPiloteModal(nullptr);
    Application().DefinirBoucle(nullptr);
    NetUser::DernierCodeAccepte() = "SPR";
    BaseUtilisateursTest::TearDown();
  }
  // A showing that types Code and MotDePasse with the keyboard and validates with Enter.
  static std::function<void(TPasswordDlg&)> Taper(std::string Code, std::string MotDePasse) {
    return [Code, MotDePasse](TPasswordDlg& d) {
      if (d.EditLogin->Enabled()) {
        d.EditLogin->SetFocus();
        d.EditLogin->SelectAll();
        Saisie::Caractere(d, '\b');
        for (char c : Code) Saisie::Caractere(d, c);
        Saisie::Touche(d, VK_RETURN);  // on to the password
      }
      EXPECT_TRUE(d.EditMotDePasse->Focused());
      for (char c : MotDePasse) Saisie::Caractere(d, c);
      Saisie::Touche(d, VK_RETURN);  // on to OK
      EXPECT_TRUE(d.OKBtn->Focused());
      Saisie::Touche(d, VK_RETURN);  // OK
    };
  }

  std::unique_ptr<MainLoop> boucle;
  TPiloteScripte pilote;
  std::vector<std::string> messages;
  std::vector<std::string> vus;
  std::vector<std::function<void(TPasswordDlg&)>> saisies;
};

TEST_F(NetUserTest, ThreeWrongPasswordsEndWithZeroAfterThreeMessages) {
  saisies = {Taper("USR", "faux"), Taper("USR", "pas"), Taper("USR", "non"), Taper("USR", "secret")};
  EXPECT_EQ(NetUser::SaisirLogin("", "", false), 0u);
  EXPECT_EQ(vus.size(), 3u);
  EXPECT_EQ(messages, (std::vector<std::string>{"incorrect", "incorrect", "incorrect"}));
  EXPECT_EQ(Utilisateur::CodeUtilisateurCourant(), "");
  EXPECT_EQ(NetUser::DernierCodeAccepte(), "SPR");
}

TEST_F(NetUserTest, ALowerCaseCodeIsUpperCasedAndTheAcceptedUserRemembered) {
  saisies = {Taper("usr", "faux"), Taper("usr", "SeCrEt")};
  EXPECT_EQ(NetUser::SaisirLogin("", "", false), 1u);
  // Shown first with the last accepted code, then with what the user typed, upper-cased on leaving.
  EXPECT_EQ(vus, (std::vector<std::string>{"SPR|Identification", "USR|Identification"}));
  EXPECT_EQ(messages, (std::vector<std::string>{"incorrect"}));
  EXPECT_EQ(Utilisateur::CodeUtilisateurCourant(), "USR");
  EXPECT_EQ(NetUser::DernierCodeAccepte(), "USR");
  // The next dialog starts from that code.
  saisies = {[](TPasswordDlg& d) { d.CancelBtn->Click(); }};
  vus.clear();
  EXPECT_EQ(NetUser::SaisirLogin("", "", false), 0u);
  EXPECT_EQ(vus, (std::vector<std::string>{"USR|Identification"}));
}

TEST_F(NetUserTest, AUserNotAssignedToTheServerProfileIsRefusedWithItsOwnMessage) {
  Utilisateur::IdentProfilServeurConnexion() = 100;
  saisies = {Taper("AUT", "autre"), Taper("USR", "secret")};
  EXPECT_EQ(NetUser::SaisirLogin("", "", false), 1u);
  EXPECT_EQ(messages, (std::vector<std::string>{"non affecte"}));
  // Without a server profile of the connection, the password is enough.
  Utilisateur::IdentProfilServeurConnexion() = 0;
  messages.clear();
  vus.clear();
  saisies = {Taper("AUT", "autre")};
  EXPECT_EQ(NetUser::SaisirLogin("", "", false), 2u);
  EXPECT_TRUE(messages.empty());
}

TEST_F(NetUserTest, CancelEndsAtOnceAndAnEmptyCodeAsksAgainWithoutCountingAnAttempt) {
  saisies = {Taper("", "x"), Taper("", "x"), Taper("ZZZ", "x"), Taper("ZZZ", "x"), Taper("ZZZ", "x")};
  EXPECT_EQ(NetUser::SaisirLogin("", "", false), 0u);
  EXPECT_EQ(vus.size(), 5u);
  EXPECT_EQ(messages.size(), 3u);

  vus.clear();
  messages.clear();
  saisies = {[](TPasswordDlg& d) { Saisie::Touche(d, VK_ESCAPE); }};
  EXPECT_EQ(NetUser::SaisirLogin("", "", false), 0u);
  EXPECT_EQ(vus.size(), 1u);
  EXPECT_TRUE(messages.empty());

  // Without a user in front of the screen the dialog is cancelled.
  Application().DefinirPiloteModal(nullptr);
  EXPECT_EQ(NetUser::SaisirLogin("", "USR", true), 0u);
  Application().DefinirPiloteModal(&pilote);
}

TEST_F(NetUserTest, ALockedCodeIsShownDisabledAndOnlyThePasswordIsTyped) {
  saisies = {[](TPasswordDlg& d) {
    EXPECT_TRUE(d.Verrouille);
    EXPECT_EQ(d.EditLogin->Color(), Couleurs::clBtnFace);
    Taper("", "secret")(d);
  }};
  EXPECT_EQ(NetUser::SaisirLogin("Titre donne", "USR", true), 1u);
  EXPECT_EQ(vus, (std::vector<std::string>{"USR verrouille|Identification"}));
}

TEST_F(NetUserTest, TheDialogsLayoutAndThePasswordShownAsStars) {
  TPasswordDlg d(nullptr);
  EXPECT_EQ(d.ClientWidth(), 208);
  EXPECT_EQ(d.ClientHeight(), 135);
  EXPECT_EQ(d.Position, TPosition::poScreenCenter);
  EXPECT_EQ(d.EditLogin->MaxLength(), 3);
  EXPECT_TRUE(d.EditLogin->Font().Gras());
  EXPECT_EQ(d.OKBtn->ModalResult, 1);
  EXPECT_TRUE(d.OKBtn->Default);
  EXPECT_EQ(d.CancelBtn->ModalResult, 2);
  d.EditMotDePasse->SetText("abc");
  TCanvasEnregistreur c;
  d.EditMotDePasse->Paint(c);
  EXPECT_NE(c.Dump().find("\"***\""), std::string::npos) << c.Dump();
  EXPECT_EQ(c.Dump().find("abc"), std::string::npos);
}

int terminees = 0;
bool Terminer(bool Abandonner) {
  EXPECT_FALSE(Abandonner);
  ++terminees;
  return true;
}
bool EnCours() { return true; }

TEST_F(NetUserTest, PressingAButtonFirstEndsTheInPlaceEntryInProgress) {
  SaisieEnCours::Definir(Terminer, EnCours);
  saisies = {[](TPasswordDlg& d) {
    for (TBitBtn* b : {d.OKBtn, d.CancelBtn}) {
      const TPoint centre = b->ClientToScreen({b->Width() / 2, b->Height() / 2});
      const TPoint origine = d.ClientToScreen({0, 0});
      Saisie::EnfoncerSouris(d, {centre.X - origine.X, centre.Y - origine.Y});
      Saisie::RelacherSouris(d, {0, 0});
    }
  }};
  terminees = 0;
  EXPECT_EQ(NetUser::SaisirLogin("", "", false), 0u);
  SaisieEnCours::Definir(nullptr, nullptr);
  EXPECT_EQ(terminees, 2);
}

}  // namespace
