// The preview window's controls as a user drives them, and a form that sees keys first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/ControleEdition.h"
#include "platform/gui/ControlesApercu.h"
#include "platform/gui/Fiches.h"
#include "platform/gui/Saisie.h"

TEST(ControlesApercu, ToolButtonsAndGridsTakeClicks) {
  TForm f(nullptr);
  f.SetBounds(0, 0, 400, 300);
  auto* bar = new TToolBar(&f);
  bar->SetParent(&f);
  auto* check = new TToolButton(&f);
  check->SetParent(bar);
  check->Style = TToolButtonStyle::tbsCheck;
  int clicks = 0;
  check->OnClick = [&](TComponent*) { ++clicks; };
  auto* grid = new TDrawGrid(&f);
  grid->SetParent(&f);
  grid->SetBounds(150, 40, 200, 200);
  grid->ColCount = 1;
  grid->SetRowCount(3);
  std::vector<int> asked;
  grid->OnSelectCell = [&](TComponent*, int, int r, bool& ok) {
    asked.push_back(r);
    ok = r != 2;
  };
  f.Show();

  ASSERT_TRUE(Saisie::Cliquer(*check));
  EXPECT_TRUE(check->Down);
  ASSERT_TRUE(Saisie::Cliquer(*check));
  EXPECT_FALSE(check->Down);
  EXPECT_EQ(clicks, 2);
  check->SetEnabled(false);
  EXPECT_FALSE(Saisie::Cliquer(*check));
  EXPECT_EQ(clicks, 2);

  // A row is taken only when OnSelectCell agrees; SetRowQuiet asks nobody.
  grid->SetRow(1);
  grid->SetRow(2);
  EXPECT_EQ(grid->Row(), 1);
  grid->SetRowQuiet(2);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(asked, (std::vector<int>{1, 2}));
  grid->SetRowCount(1);
  EXPECT_EQ(grid->Row(), 0);
}

TEST(ControlesApercu, PageControlsShowTheirActivePageAndOutliveTheirPages) {
  auto* form = new TForm(nullptr);
  auto* pages = new TPageControl(form);
  pages->SetParent(form);
  auto* a = new TTabSheet(form);
  a->SetPageControl(pages);
  auto* b = new TTabSheet(form);
  b->SetPageControl(pages);
  EXPECT_EQ(pages->ActivePage(), a);
  EXPECT_TRUE(a->Visible());
  EXPECT_FALSE(b->Visible());
  pages->SetActivePage(b);
  EXPECT_FALSE(a->Visible());
  EXPECT_TRUE(b->Visible());
  delete b;  // a page that goes leaves its control
  EXPECT_EQ(pages->PageCount(), 1);
  EXPECT_EQ(pages->ActivePage(), nullptr);
  delete form;  // and the control that goes takes its pages
}

TEST(ControlesApercu, AFormWithKeyPreviewSeesKeysBeforeTheFocusedControl) {
  TForm f(nullptr);
  auto* edit = new TEdit(&f);
  edit->SetParent(&f);
  edit->SetText("abc");
  f.Show();
  edit->SetFocus();
  std::vector<int> seen;
  f.OnKeyDown = [&](TComponent*, int& key, uint8_t) {
    seen.push_back(key);
    if (key == VK_LEFT) key = 0;
  };
  ASSERT_TRUE(Saisie::Touche(f, VK_LEFT));
  EXPECT_TRUE(seen.empty());  // without KeyPreview the edit has the key
  EXPECT_EQ(edit->Caret(), 2);
  f.KeyPreview = true;
  ASSERT_TRUE(Saisie::Touche(f, VK_LEFT));
  EXPECT_EQ(edit->Caret(), 2);  // taken by the form
  ASSERT_TRUE(Saisie::Touche(f, VK_HOME));
  EXPECT_EQ(edit->Caret(), 0);  // seen, then passed on
  EXPECT_EQ(seen, (std::vector<int>{VK_LEFT, VK_HOME}));
}
