#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ControlesStandard.h"
#include "platform/gui/Fiches.h"
#include "platform/gui/Minuterie.h"
#include "platform/gui/Saisie.h"
#include "platform/loop/MainLoop.h"

#include <boost/asio/post.hpp>

namespace {

// Counts its destructions.
class Compte : public TComponent {
 public:
  Compte(TComponent* Owner, std::vector<std::string>& Journal, std::string Nom)
      : TComponent(Owner), journal_(Journal) {
    SetName(std::move(Nom));
  }
  ~Compte() override { journal_.push_back(Name()); }

 private:
  std::vector<std::string>& journal_;
};

TEST(Composants, AnOwnerFreesWhatItOwnsLastFirstAndFindsItByNameWithoutCase) {
  std::vector<std::string> detruits;
  {
    TComponent proprietaire(nullptr);
    new Compte(&proprietaire, detruits, "Premier");
    auto* second = new Compte(&proprietaire, detruits, "Second");
    auto* parti = new Compte(&proprietaire, detruits, "Parti");
    EXPECT_EQ(proprietaire.FindComponent("SECOND"), second);
    EXPECT_EQ(proprietaire.FindComponent(""), nullptr);
    delete parti;  // leaves its owner
    EXPECT_EQ(proprietaire.ComponentCount(), 2);
    second->ChangerProprietaire(nullptr);
    EXPECT_EQ(proprietaire.FindComponent("Second"), nullptr);
    delete second;
  }
  EXPECT_EQ(detruits, (std::vector<std::string>{"Parti", "Second", "Premier"}));
}

TEST(Composants, AParentFreesItsChildrenAndAChildLeavingItsParentIsForgotten) {
  TForm fiche(nullptr);
  auto* panneau = new TPanel(nullptr);  // owned by nobody, parented to the form
  panneau->SetParent(&fiche);
  auto* etiquette = new TLabel(&fiche);  // owned by the form, parented to the panel
  etiquette->SetParent(panneau);
  EXPECT_EQ(fiche.ControlCount(), 1);
  EXPECT_EQ(etiquette->FormeParente(), &fiche);
  delete panneau;  // frees the label, which leaves its owner
  EXPECT_EQ(fiche.ControlCount(), 0);
  EXPECT_EQ(fiche.ComponentCount(), 0);
}

TEST(Composants, AlignedChildrenShareTheClientAreaTopBottomLeftRightThenClient) {
  TPanel p(nullptr);
  p.SetBevelOuter(TBevelCut::bvNone);
  p.SetBounds(0, 0, 200, 100);
  auto enfant = [&](TAlign a, int w, int h) {
    auto* c = new TPanel(&p);
    c->SetBounds(0, 0, w, h);
    c->SetAlign(a);
    c->SetParent(&p);
    return c;
  };
  TPanel* client = enfant(TAlign::alClient, 1, 1);
  TPanel* haut = enfant(TAlign::alTop, 5, 10);
  TPanel* bas = enfant(TAlign::alBottom, 5, 20);
  TPanel* gauche = enfant(TAlign::alLeft, 30, 5);
  TPanel* droite = enfant(TAlign::alRight, 40, 5);
  EXPECT_EQ(haut->BoundsRect(), (TRect{0, 0, 200, 10}));
  EXPECT_EQ(bas->BoundsRect(), (TRect{0, 80, 200, 100}));
  EXPECT_EQ(gauche->BoundsRect(), (TRect{0, 10, 30, 80}));
  EXPECT_EQ(droite->BoundsRect(), (TRect{160, 10, 200, 80}));
  EXPECT_EQ(client->BoundsRect(), (TRect{30, 10, 160, 80}));
  haut->Hide();
  EXPECT_EQ(client->BoundsRect(), (TRect{30, 0, 160, 80}));
  p.SetBorderWidth(2);
  EXPECT_EQ(bas->BoundsRect(), (TRect{2, 78, 198, 98}));
}

TEST(Composants, ChildrenFollowTheirParentsFontUntilTheyGetOneOfTheirOwn) {
  TForm f(nullptr);
  auto* suit = new TLabel(&f);
  auto* propre = new TLabel(&f);
  TFont arial;
  arial.Name = "Arial";
  arial.Height = 20;
  propre->SetFont(arial);
  suit->SetParent(&f);
  propre->SetParent(&f);
  TFont grande;
  grande.Height = 30;
  f.SetFont(grande);
  EXPECT_EQ(suit->Font().Height, 30);
  EXPECT_EQ(propre->Font().Height, 20);
}

TEST(Texte, TheFixedMetricsComeFromTheLiberationSansTable) {
  TFont arial;
  arial.Name = "Arial";
  arial.Height = 12;
  EXPECT_EQ(MetriquesTexte::Ascendante(arial), 11);
  EXPECT_EQ(MetriquesTexte::Descendante(arial), 3);
  EXPECT_EQ(MetriquesTexte::Hauteur(arial), 14);
  EXPECT_EQ(MetriquesTexte::Avance(arial, 'W'), 11);  // 1933 units of 2048
  EXPECT_EQ(MetriquesTexte::Avance(arial, 'i'), 3);
  EXPECT_EQ(MetriquesTexte::Largeur(arial, "Wi"), 14);
  TFont gras = arial;
  gras.Height = 20;
  gras.Style = fsBold;
  TFont regulier = gras;
  regulier.Style = 0;
  EXPECT_EQ(MetriquesTexte::Avance(regulier, 'i'), 4);  // 455 units
  EXPECT_EQ(MetriquesTexte::Avance(gras, 'i'), 6);      // 569 units in the bold table
  TFont autre = arial;
  autre.Name = "Tahoma";  // every face maps to the same table
  EXPECT_EQ(MetriquesTexte::Largeur(autre, "Wi"), 14);
  EXPECT_EQ(MetriquesTexte::Avance(arial, 0x80), MetriquesTexte::Avance(arial, '0'));  // the euro sign
}

TEST(Texte, DrawTextLaysLinesOutByItsFlags) {
  using namespace FormatTexte;
  TCanvasEnregistreur c;
  c.Font.Name = "Arial";
  c.Font.Height = 12;
  const int h = MetriquesTexte::Hauteur(c.Font);
  const int mot = c.TextWidth("mot");
  // Calculation only: word wrapping in the rectangle's width, line breaks, accelerator marks.
  TRect r{0, 0, c.TextWidth("mot mot") + 1, 0};
  EXPECT_EQ(c.DrawText("mot mot mot", r, DT_CALCRECT | DT_WORDBREAK), 2 * h);
  EXPECT_EQ(r.Bottom, 2 * h);
  EXPECT_EQ(r.Right, c.TextWidth("mot mot"));
  EXPECT_TRUE(c.Appels().empty());
  r = {0, 0, 1000, 0};
  EXPECT_EQ(c.DrawText("a\r\nb\nc", r, DT_CALCRECT), 3 * h);
  r = {0, 0, 1000, 0};
  c.DrawText("&Oui && non", r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.Right, c.TextWidth("Oui & non"));
  // Drawing: centred, right-aligned, vertically centred on one line.
  c.Brush.Style = TBrushStyle::bsClear;
  TRect zone{10, 20, 110, 60};
  c.DrawText("mot", zone, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  zone = {10, 20, 110, 60};
  c.DrawText("mot", zone, DT_RIGHT);
  zone = {10, 20, 110, 60};
  c.DrawText("&mot", zone, DT_NOPREFIX);
  const std::string police = " font=Arial/12/regular/#000000 brush=clear";
  EXPECT_EQ(c.Appels(), (std::vector<std::string>{
                            "Text " + std::to_string(10 + (100 - mot) / 2) + "," + std::to_string(20 + (40 - h) / 2) + " \"mot\"" + police,
                            "Text " + std::to_string(110 - mot) + ",20 \"mot\"" + police,
                            "Text 10,20 \"&mot\"" + police,
                        }));
}

TEST(Texte, TheRecordingCanvasWritesEachCallWithItsStateInDeviceCoordinates) {
  TCanvasEnregistreur c;
  c.Origine = {100, 10};
  c.Brush.Color = Couleurs::clBtnFace;
  c.FillRect({0, 0, 5, 5});
  c.Pen.Color = 0x0000FF;
  c.MoveTo(1, 1);
  c.LineTo(4, 1);
  c.Pen.Style = TPenStyle::psDash;
  c.LineTo(4, 3);
  c.Brush.Style = TBrushStyle::bsClear;
  c.Pen.Style = TPenStyle::psClear;
  c.Rectangle({0, 0, 2, 2});
  c.SetPixel(0, 0, 0x00FF00);
  c.DefinirClip({0, 0, 3, 3});
  c.LibererClip();
  EXPECT_EQ(c.Dump(),
            "FillRect 100,10,105,15 brush=#F0F0F0\n"
            "Line 101,11-104,11 pen=#FF0000/1\n"
            "Line 104,11-104,13 pen=#FF0000/1/dash\n"
            "Rectangle 100,10,102,12 pen=none brush=clear\n"
            "Pixel 100,10 #00FF00\n"
            "Clip 100,10,103,13\n"
            "Clip none\n");
}

class Modales : public ::testing::Test {
 protected:
  void SetUp() override {
    Application().DefinirBoucle(&boucle);
    Application().DefinirPiloteModal(&pilote);
  }
  void TearDown() override {
    Application().DefinirPiloteModal(nullptr);
    Application().DefinirBoucle(nullptr);
  }
  MainLoop boucle{[] {}, [] {}};
  TPiloteScripte pilote;
};

TEST_F(Modales, AModalFormDisablesTheOthersAndRunsTheLoopUntilItsResultIsAccepted) {
  TForm principale(nullptr), modale(nullptr);
  principale.Show();
  bool refuser = true;
  modale.OnCloseQuery = [&](TComponent*, bool& peut) { peut = !refuser; };
  int evenements = 0;
  pilote.ArreterSansReponse = false;
  pilote.Script = [&](TForm& f) {
    EXPECT_FALSE(principale.Enabled());
    EXPECT_TRUE(f.Visible());
    EXPECT_FALSE(Saisie::Touche(principale, VK_RETURN));  // disabled: refused
    // The result comes from an event the loop handles; the close query refuses it once.
    boost::asio::post(boucle.Context(), [&] {
      ++evenements;
      modale.SetModalResult(mrOk);
      boost::asio::post(boucle.Context(), [&] {
        ++evenements;
        refuser = false;
        modale.SetModalResult(mrYes);
      });
    });
  };
  EXPECT_EQ(modale.ShowModal(), mrYes);
  EXPECT_EQ(evenements, 2);
  EXPECT_TRUE(principale.Enabled());
  EXPECT_FALSE(modale.Visible());
  EXPECT_FALSE(modale.Modal());
  principale.Show();
  EXPECT_THROW(principale.ShowModal(), EInvalidOperation);  // already visible
}

TEST_F(Modales, TheProductionDriverAnswersTwoForAnOrdinaryFormWithoutRunningTheLoop) {
  Application().DefinirPiloteModal(nullptr);
  TForm modale(nullptr);
  bool traite = false;
  boost::asio::post(boucle.Context(), [&] { traite = true; });
  EXPECT_EQ(modale.ShowModal(), mrCancel);
  EXPECT_FALSE(traite);
}

TEST_F(Modales, AFormIsPlacedByItsPositionTheFirstTimeItIsShown) {
  TForm principale(nullptr);
  principale.SetBounds(100, 100, 400, 300);
  principale.Show();
  Application().SetMainForm(&principale);
  TForm f(nullptr);
  f.SetBorderStyle(TFormBorderStyle::bsNone);
  f.SetBounds(0, 0, 100, 50);
  f.Position = TPosition::poMainFormCenter;
  f.Show();
  EXPECT_EQ(f.BoundsRect(), Bornes(250, 225, 100, 50));
  TForm ecran(nullptr);
  ecran.SetBounds(0, 0, 24, 68);
  ecran.Position = TPosition::poScreenCenter;
  ecran.Show();
  EXPECT_EQ(ecran.Left(), 500);
  EXPECT_EQ(ecran.Top(), 350);
  Application().SetMainForm(nullptr);
  // The client area follows the frame.
  TForm dialogue(nullptr);
  dialogue.SetBorderStyle(TFormBorderStyle::bsDialog);
  dialogue.SetClientWidth(500);
  dialogue.SetClientHeight(155);
  EXPECT_EQ(dialogue.ClientWidth(), 500);
  EXPECT_EQ(dialogue.ClientHeight(), 155);
  EXPECT_GT(dialogue.Height(), 155);
  dialogue.SetBorderStyle(TFormBorderStyle::bsNone);
  EXPECT_EQ(dialogue.Height(), 155);
}

TEST(Ecran, TheScreenIsFixed) {
  EXPECT_EQ(Screen().Width(), 1024);
  EXPECT_EQ(Screen().Height(), 768);
  EXPECT_EQ(Screen().PixelsPerInch(), 96);
  EXPECT_EQ(TScreen::kLargeurBarreDefilement, 17);
  TFont f;
  f.SetSize(10);
  EXPECT_EQ(f.Height, 13);
  EXPECT_EQ(f.Size(), 10);
}

TEST(Controles, AScrollBarKeepsItsPositionInRangeAndRefusesAMaximumBelowItsMinimum) {
  TScrollBar b(nullptr);
  std::vector<int> changes;
  b.OnChange = [&](TComponent*) { changes.push_back(b.Position()); };
  b.SetParams(50, 0, 40);
  EXPECT_EQ(b.Position(), 40);
  b.SetPageSize(11);
  EXPECT_EQ(b.Position(), 30);
  b.SetPosition(-5);
  EXPECT_EQ(b.Position(), 0);
  b.SetPosition(0);
  EXPECT_EQ(changes, (std::vector<int>{40, 30, 0}));
  EXPECT_THROW(b.SetParams(0, 10, 5), EInvalidOperation);
  TProgressBar p(nullptr);
  p.SetMax(100);
  p.SetPosition(150);
  EXPECT_EQ(p.Position(), 100);
}

TEST(Controles, TheAcceleratorIsTheLetterAfterASingleAmpersand) {
  EXPECT_TRUE(EstAccelerateur('s', " &Si "));
  EXPECT_TRUE(EstAccelerateur('S', " &si "));
  EXPECT_FALSE(EstAccelerateur('n', " &Si "));
  EXPECT_FALSE(EstAccelerateur('o', "A&&o"));
  EXPECT_TRUE(EstAccelerateur('b', "A&&o &b"));
  EXPECT_FALSE(EstAccelerateur('a', "a&"));
}

}  // namespace

namespace {

TEST(Minuteries, ATimerOfTheProductionClockRunsOnTheApplicationsLoopAndStopsWithIt) {
  auto boucle = std::make_unique<MainLoop>([] {}, [] {});
  Application().DefinirBoucle(boucle.get());
  TTimer t(nullptr);
  int coups = 0;
  t.SetInterval(1);
  t.SetOnTimer([&](TComponent*) { ++coups; });
  EXPECT_EQ(boucle->WaitUntil([&] { return coups >= 2; }, std::chrono::seconds(10)), MainLoop::WaitResult::Satisfied);
  Application().DefinirBoucle(nullptr);  // the timer goes with the loop
  boucle.reset();
  t.SetEnabled(false);
}

}  // namespace

namespace {

// A windowed control that records the keys, characters and wheel turns it gets.
class TRecepteur : public TWinControl {
 public:
  using TWinControl::TWinControl;
  uint32_t Codes = 0;
  std::vector<std::string> Recu;
  uint32_t CodesDialogue() const override { return Codes; }
  void KeyDown(int& Touche, uint8_t Shift) override { Recu.push_back("key " + std::to_string(Touche) + "/" + std::to_string(Shift)); }
  void KeyPress(char& C) override { Recu.push_back(std::string("char ") + C); }
  bool MouseWheel(uint8_t, int Delta, TPoint P) override {
    Recu.push_back("wheel " + std::to_string(Delta) + " " + std::to_string(P.X) + "," + std::to_string(P.Y));
    return true;
  }
};

// A button that takes Enter and the accelerator "o" as dialog keys.
class TBoutonDialogue : public TWinControl {
 public:
  using TWinControl::TWinControl;
  int Pris = 0;
  bool DialogKey(int Touche, uint8_t) override { return Touche == VK_RETURN && ++Pris; }
  bool DialogChar(char C) override { return C == 'o' && ++Pris; }
};

}  // namespace

TEST(Focus, TheActiveControlTakesTheKeysTheDialogHandlingLeavesIt) {
  TForm f(nullptr);
  f.SetBounds(0, 0, 300, 200);
  auto* r = new TRecepteur(&f);
  auto* b = new TBoutonDialogue(&f);
  auto* autre = new TRecepteur(&f);
  for (TWinControl* c : {static_cast<TWinControl*>(r), static_cast<TWinControl*>(b), static_cast<TWinControl*>(autre)})
    c->SetParent(&f);
  r->SetBounds(0, 0, 100, 100);
  autre->SetBounds(150, 0, 100, 100);
  EXPECT_FALSE(r->CanFocus());  // the form is not shown
  EXPECT_THROW(r->SetFocus(), EInvalidOperation);
  f.Show();
  std::vector<std::string> vu;
  r->OnEnter = [&](TComponent*) { vu.push_back("enter r"); };
  r->OnExit = [&](TComponent*) { vu.push_back("exit r"); };
  autre->OnEnter = [&](TComponent*) { vu.push_back("enter autre"); };
  r->SetFocus();
  autre->SetFocus();
  r->SetFocus();
  EXPECT_EQ(vu, (std::vector<std::string>{"enter r", "exit r", "enter autre", "enter r"}));
  EXPECT_TRUE(r->Focused());
  EXPECT_FALSE(autre->Focused());
  // Enter goes to the dialog handling unless the control takes it; other keys go to the control.
  EXPECT_TRUE(Saisie::Touche(f, VK_RETURN));
  EXPECT_EQ(b->Pris, 1);
  EXPECT_TRUE(Saisie::Touche(f, VK_ESCAPE));  // nobody takes it as a dialog key: the control gets it
  EXPECT_TRUE(Saisie::Touche(f, VK_DOWN, ssCtrl));
  EXPECT_TRUE(Saisie::Caractere(f, 'o'));
  EXPECT_TRUE(Saisie::Caractere(f, 'x'));
  r->Codes = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
  EXPECT_TRUE(Saisie::Touche(f, VK_RETURN));
  EXPECT_TRUE(Saisie::Caractere(f, 'o'));
  EXPECT_EQ(b->Pris, 2);
  EXPECT_EQ(r->Recu, (std::vector<std::string>{"key 27/0", "key 40/4", "char x", "key 13/0", "char o"}));
  // The wheel goes to the focused control, wherever the mouse is.
  EXPECT_TRUE(Saisie::Molette(f, {200, 50}, -120));
  EXPECT_EQ(r->Recu.back(), "wheel -120 200,50");
  EXPECT_TRUE(autre->Recu.empty());
  // A control that leaves the form, or goes, is no longer active.
  r->SetParent(nullptr);
  EXPECT_EQ(f.ActiveControl(), nullptr);
  EXPECT_TRUE(Saisie::Molette(f, {200, 50}, 120));  // now the control under the mouse
  EXPECT_EQ(autre->Recu, (std::vector<std::string>{"wheel 120 50,50"}));
  delete r;
  autre->SetFocus();
  delete autre;
  EXPECT_EQ(f.ActiveControl(), nullptr);
  EXPECT_TRUE(Saisie::Touche(f, VK_RETURN));  // back to the dialog handling alone
  EXPECT_EQ(b->Pris, 3);
}
