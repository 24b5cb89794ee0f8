// The design-time editors, the expression builder and the environment editor, driven as a user
// would: the scripted modal driver answers each window and each page, and input injection clicks
// and types.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Minuterie.h"
#include "platform/gui/Saisie.h"
#include "platform/loop/MainLoop.h"
#include "platform/ui/BoiteMessage.h"
#include "reports/RBEnvEd.h"
#include "reports/RBExpBld.h"
#include "reports/RBExprEd.h"
#include "reports/RBLablEd.h"

namespace {

struct EditorWindows : ::testing::Test {
  std::unique_ptr<MainLoop> loop;
  TPiloteScripte pilot;
  THorlogeVirtuelle clock;
  // What the user does in each modal window and in each page, in the order they open.
  std::deque<std::function<void(TForm&)>> windows;
  std::deque<std::function<void(TWinControl&)>> pages;
  std::vector<std::string> messages;
  std::vector<std::string> pagesSeen;

  void SetUp() override {
    loop = std::make_unique<MainLoop>([] {}, [] {});
    Application().DefinirBoucle(loop.get());
    Application().DefinirPiloteModal(&pilot);
    Horloge::Definir(&clock);
    pilot.Script = [this](TForm& f) {
      if (auto* box = dynamic_cast<TBoiteMessage*>(&f)) {
        messages.push_back(box->Texte->Caption());
        f.SetModalResult(mrOk);
        return;
      }
      ASSERT_FALSE(windows.empty()) << "unexpected window " << f.Name();
      auto step = std::move(windows.front());
      windows.pop_front();
      step(f);
    };
    pilot.ScriptSaisie = [this](TWinControl& page) {
      pagesSeen.push_back(page.Name());
      ASSERT_FALSE(pages.empty()) << "unexpected page " << page.Name();
      auto step = std::move(pages.front());
      pages.pop_front();
      step(page);
    };
  }
  void TearDown() override {
    EXPECT_TRUE(windows.empty());
    EXPECT_TRUE(pages.empty());
    Horloge::Definir(nullptr);
    Application().DefinirPiloteModal(nullptr);
    Application().DefinirBoucle(nullptr);
  }

  static void Click(TControl& C) { ASSERT_TRUE(Saisie::Cliquer(C)) << C.Name(); }
  // Focuses an edit (as Tab would) and types the text over its whole content.
  static void Retype(TEdit& E, const std::string& Text) {
    E.SetFocus();
    E.SelectAll();
    TForm& f = *E.FormeParente();
    if (Text.empty()) Saisie::Caractere(f, '\b');
    for (char c : Text) Saisie::Caractere(f, c);
  }
  static void Type(TForm& F, const std::string& Text) {
    for (char c : Text) Saisie::Caractere(F, c);
  }
  // Chooses an item of a list with the mouse on the first item, then the arrows.
  static void Choose(TListBox& List, const std::string& Item) {
    TForm& f = *List.FormeParente();
    const TPoint first = List.ClientToScreen({10, 4});
    const TPoint origin = f.ClientToScreen({0, 0});
    const TPoint p{first.X - origin.X, first.Y - origin.Y};
    List.TopIndex = 0;
    ASSERT_TRUE(Saisie::EnfoncerSouris(f, p));
    ASSERT_TRUE(Saisie::RelacherSouris(f, p));
    for (int i = 0; i < List.Count() && List.Selection() != Item; ++i) Saisie::Touche(f, VK_DOWN);
    ASSERT_EQ(List.Selection(), Item);
  }
  static TRBExpressionBuilder& Builder(TWinControl& PageOrBuilder) {
    for (TControl* c = &PageOrBuilder; c; c = c->Parent())
      if (auto* b = dynamic_cast<TRBExpressionBuilder*>(c)) return *b;
    throw std::logic_error("not in a builder");
  }
};

// ---------------------------------------------------------------------------------------------
// Editors

TEST_F(EditorWindows, EachControlNamesItsEditor) {
  TForm form(nullptr);
  auto* label = new TRBLabel(&form);
  auto* expr = new TRBExpr(&form);
  auto* shape = new TRBShape(&form);
  struct Case {
    TRBPrintable* Control;
    const char* Class;
    const char* Type;
    const char* Description;
  };
  for (const Case& c : {Case{label, "TRBLabelEditor", "RBLABEL", "Text Control"},
                        Case{expr, "TRBExprEditor", "RBEXPR", "Expression Control"},
                        Case{shape, "TRBPrintableEditor", "", ""}}) {
    const TRBPrintableEditorClass* k = c.Control->EditorClass();
    EXPECT_STREQ(k->ClassName(), c.Class);
    auto editor = k->Create(c.Control);
    EXPECT_EQ(editor->TypeName(), c.Type);
    EXPECT_EQ(editor->Description(), c.Description);
    EXPECT_EQ(editor->Control, c.Control);
  }
  auto base = shape->EditorClass()->Create(shape);
  EXPECT_EQ(base->Font(), nullptr);
  EXPECT_EQ(base->ControlClass(), TRBPrintable::StaticClass());
  EXPECT_THROW(base->SetValueText("x"), EAbstractError);
  EXPECT_THROW((void)base->Edit(), EAbstractError);

  auto e = expr->EditorClass()->Create(expr);
  e->SetValueText("1+2");
  EXPECT_EQ(expr->Expression(), "1+2");
  EXPECT_EQ(e->ValueText(), "1+2");
  EXPECT_EQ(e->ControlClass(), TRBExpr::StaticClass());
  e->SetAlignment(TAlignment::taRightJustify);
  EXPECT_EQ(expr->Alignment(), TAlignment::taRightJustify);
  EXPECT_EQ(e->Font(), &expr->Font());
}

TEST_F(EditorWindows, TheTextSettingsWindowShowsTheLabelAndAppliesWhatIsEntered) {
  TForm form(nullptr);
  auto* label = new TRBLabel(&form);
  label->SetParent(&form);
  label->Size.Units = TRBUnit::MM;
  label->SetLabelCaption("Total");
  label->Size.SetWidth(12.5);
  label->Size.SetHeight(4);
  windows.push_back([](TForm& f) {
    auto& w = dynamic_cast<TRBLabelEditorForm&>(f);
    EXPECT_EQ(w.Caption(), "Text Settings");
    EXPECT_EQ(w.ClientWidth(), 329);
    EXPECT_EQ(w.ClientHeight(), 181);
    EXPECT_EQ(w.Value->Text(), "Total");
    EXPECT_EQ(w.Width->Text(), "12.5");
    EXPECT_EQ(w.Height->Text(), "4");
    EXPECT_TRUE(w.AutoSize->Checked());
    EXPECT_FALSE(w.Stretch->Checked());
    EXPECT_FALSE(w.Transparent->Checked());
    Retype(*w.Value, "Grand total");
    Retype(*w.Width, "40x");  // the mask refuses the letter
    Retype(*w.Height, "6");
    Click(*w.AutoSize);
    Click(*w.Stretch);
    Click(*w.Transparent);
    Click(*w.OKBtn);
  });
  auto editor = label->EditorClass()->Create(label);
  EXPECT_TRUE(editor->Edit());
  EXPECT_EQ(label->Caption(), "Grand total");
  EXPECT_DOUBLE_EQ(label->Size.Stored(TRBPrintableSize::kWidth), 400);
  EXPECT_DOUBLE_EQ(label->Size.Stored(TRBPrintableSize::kHeight), 60);
  EXPECT_FALSE(label->AutoSize);
  EXPECT_TRUE(label->AutoStretch);
  EXPECT_TRUE(label->Transparent());
}

TEST_F(EditorWindows, AnUnreadableLengthShowsTheErrorAndChangesNothing) {
  struct Case {
    const char* Width;
    const char* Height;
    const char* Message;
  };
  for (const Case& c : {Case{"", "5", "'' is not a valid floating point value"},
                        Case{"5", "", "'' is not a valid floating point value"}}) {
    SCOPED_TRACE(std::string(c.Width) + "/" + c.Height);
    messages.clear();
    TForm form(nullptr);
    auto* label = new TRBLabel(&form);
    label->SetParent(&form);
    label->Size.Units = TRBUnit::MM;
    label->SetLabelCaption("Before");
    const double width = label->Size.Stored(TRBPrintableSize::kWidth);
    const double height = label->Size.Stored(TRBPrintableSize::kHeight);
    windows.push_back([&c](TForm& f) {
      auto& w = dynamic_cast<TRBLabelEditorForm&>(f);
      Retype(*w.Value, "After");
      Retype(*w.Width, c.Width);
      Retype(*w.Height, c.Height);
      Click(*w.Stretch);
      Saisie::Touche(f, VK_RETURN);  // the default button
    });
    auto editor = label->EditorClass()->Create(label);
    EXPECT_FALSE(editor->Edit());
    EXPECT_EQ(messages, std::vector<std::string>{c.Message});
    EXPECT_EQ(label->Caption(), "Before");
    EXPECT_DOUBLE_EQ(label->Size.Stored(TRBPrintableSize::kWidth), width);
    EXPECT_DOUBLE_EQ(label->Size.Stored(TRBPrintableSize::kHeight), height);
    EXPECT_FALSE(label->AutoStretch);
  }
  EXPECT_DOUBLE_EQ(RBLablEd::ParseLength(" 12.5 "), 12.5);
  EXPECT_THROW((void)RBLablEd::ParseLength("1,5"), EConvertError);
  EXPECT_THROW((void)RBLablEd::ParseLength("nan"), EConvertError);
}

TEST_F(EditorWindows, TheExpressionWindowOpensTheBuilderAndCancelLeavesTheControlAlone) {
  TForm form(nullptr);
  auto* data = new TMemDataSet(&form, "Sales");
  data->DefineFields({{"Amount", TFieldType::ftFloat}});
  auto* expr = new TRBExpr(&form);
  expr->SetParent(&form);
  expr->Size.Units = TRBUnit::MM;
  expr->SetExpression("1");
  expr->SetMask("#,##0.00");
  const double width = expr->Size.Stored(TRBPrintableSize::kWidth);

  // Cancelled: nothing changes.
  windows.push_back([](TForm& f) {
    auto& w = dynamic_cast<TRBExprEditorForm&>(f);
    EXPECT_EQ(w.Caption(), "Expression settings");
    EXPECT_EQ(w.Value->Text(), "1");
    EXPECT_EQ(w.Mask->Text(), "#,##0.00");
    Retype(*w.Value, "2");
    Retype(*w.Mask, "0");
    Retype(*w.Width, "9");
    Click(*w.Button4);
  });
  auto editor = expr->EditorClass()->Create(expr);
  EXPECT_FALSE(editor->Edit());
  EXPECT_EQ(expr->Expression(), "1");
  EXPECT_EQ(expr->Mask(), "#,##0.00");
  EXPECT_DOUBLE_EQ(expr->Size.Stored(TRBPrintableSize::kWidth), width);

  // The builder offers the form's datasets; its expression replaces the text; OK stores it all.
  windows.push_back([](TForm& f) {
    auto& w = dynamic_cast<TRBExprEditorForm&>(f);
    Click(*w.ShowExprBuilder);
    EXPECT_EQ(w.Value->Text(), "Sales.Amount *2");
    Retype(*w.Mask, "0.0");
    Click(*w.OKBtn);
  });
  windows.push_back([](TForm& f) {
    auto& b = dynamic_cast<TRBExpressionBuilder&>(f);
    EXPECT_EQ(b.Expr->Text(), "1");
    EXPECT_EQ(b.Expr->SelLength(), 1);  // all selected
    EXPECT_EQ(b.AvailableDatasets->Items(), std::vector<std::string>{"Sales"});
    Click(*b.InsertDataFieldBtn);
    Type(f, " *2");
    Click(*b.OK);
  });
  pages.push_back([](TWinControl& page) {
    auto& b = Builder(page);
    EXPECT_EQ(page.Name(), "DataFieldPage");
    EXPECT_FALSE(b.MainPage->Visible());
    EXPECT_EQ(b.AvailableFields->Items(), std::vector<std::string>{"Amount"});
    Choose(*b.AvailableFields, "Amount");
    Click(*b.DataFieldOKBtn);
  });
  EXPECT_TRUE(editor->Edit());
  EXPECT_EQ(expr->Expression(), "Sales.Amount *2");
  EXPECT_EQ(expr->Mask(), "0.0");
}

// ---------------------------------------------------------------------------------------------
// Expression builder

TEST_F(EditorWindows, FunctionsAreInsertedWithTheirArgumentsOrAlone) {
  windows.push_back([](TForm& f) {
    auto& b = dynamic_cast<TRBExpressionBuilder&>(f);
    Click(*b.InsertFunctionBtn);
    Click(*b.AddPlus);
    Click(*b.InsertFunctionBtn);
    Click(*b.OK);
  });
  pages.push_back([](TWinControl& page) {
    auto& b = Builder(page);
    EXPECT_EQ(page.Name(), "FunctionPage");
    EXPECT_EQ(b.Categories->Items(), (std::vector<std::string>{"All", "Date & time", "Math & trig", "Statistical",
                                                               "Database", "Logical", "Information", "Other"}));
    EXPECT_EQ(b.FuncName->Caption(), "");
    Choose(*b.AvailableFunc, "COPY");
    EXPECT_EQ(b.FuncName->Caption(), "COPY(<X>, <St>,<Len>)");
    EXPECT_EQ(b.FuncDescription->Caption(), "Returns a substring of string X");
    Click(*b.FunctionOKBtn);
  });
  pages.push_back([](TWinControl& page) {
    auto& b = Builder(page);
    EXPECT_EQ(page.Name(), "FuncParamsPage");
    EXPECT_EQ(b.CopyFuncName->Caption(), "COPY(<X>, <St>,<Len>)");
    ASSERT_EQ(b.ArgumentEdits().size(), 3u);
    std::vector<std::string> labels;
    for (int i = 0; i < b.FuncParamSB->ControlCount(); ++i)
      if (auto* l = dynamic_cast<TLabel*>(b.FuncParamSB->Controls(i))) labels.push_back(l->Caption());
    EXPECT_EQ(labels, (std::vector<std::string>{"Argument 1 - text Value", "Argument 2 - numeric value",
                                                "Argument 3 - numeric value"}));
    EXPECT_EQ(b.FuncParamSB->Range(), 120);
    EXPECT_EQ(b.ArgumentEdits()[1]->Top() - b.ArgumentEdits()[0]->Top(), 40);
    EXPECT_EQ(b.ArgumentEdits()[0]->Width(), b.FuncParamSB->ClientWidth() - 60);
    Retype(*b.ArgumentEdits()[0], "'abc'");
    Retype(*b.ArgumentEdits()[1], "1");
    Retype(*b.ArgumentEdits()[2], "2");
    Click(*b.FuncParamOkBtn);
  });
  pages.push_back([](TWinControl& page) {
    auto& b = Builder(page);
    Choose(*b.Categories, "Logical");
    Choose(*b.AvailableFunc, "TRUE");
    Click(*b.FunctionOKBtn);
  });
  std::string expression;
  EXPECT_TRUE(RBExpBld::EditExpression("", expression, nullptr, nullptr, nullptr));
  EXPECT_EQ(expression, "COPY('abc',1,2) + TRUE");
  EXPECT_EQ(pagesSeen, (std::vector<std::string>{"FunctionPage", "FuncParamsPage", "FunctionPage"}));
}

TEST_F(EditorWindows, AnArgumentIsEditedInABuilderEmbeddedInTheBuilder) {
  windows.push_back([](TForm& f) {
    auto& b = dynamic_cast<TRBExpressionBuilder&>(f);
    Click(*b.InsertFunctionBtn);
    Click(*b.OK);
  });
  pages.push_back([](TWinControl& page) {
    auto& b = Builder(page);
    Choose(*b.AvailableFunc, "UPPER");
    Click(*b.FunctionOKBtn);
  });
  pages.push_back([](TWinControl& page) {
    auto& b = Builder(page);
    ASSERT_EQ(b.ArgumentEdits().size(), 1u);
    b.ArgumentEdits()[0]->SetText("'a'");
    TSpeedButton* dots = nullptr;
    for (int i = 0; i < b.FuncParamSB->ControlCount(); ++i)
      if (auto* s = dynamic_cast<TSpeedButton*>(b.FuncParamSB->Controls(i))) dots = s;
    ASSERT_NE(dots, nullptr);
    Click(*dots);
    EXPECT_EQ(b.ArgumentEdits()[0]->Text(), "'a' + 'b'");
    // The embedded builder is gone once it ended.
    EXPECT_EQ(b.ControlCount(), 5);
    Click(*b.FuncParamOkBtn);
  });
  pages.push_back([](TWinControl& embedded) {
    auto& e = dynamic_cast<TRBExpressionBuilder&>(embedded);
    EXPECT_TRUE(e.Embedded);
    EXPECT_EQ(e.Parent()->Name(), "RBExpressionBuilder");
    EXPECT_EQ(e.Heading->Caption(), "Enter 1. parameter for UPPER");
    EXPECT_EQ(e.Expr->Text(), "'a'");
    e.Expr->SetSelStart(3);
    Click(*e.AddPlus);
    Type(*e.FormeParente(), "'b'");
    Click(*e.OK);
  });
  std::string expression = "old";
  EXPECT_TRUE(RBExpBld::EditExpression("", expression, nullptr, nullptr, nullptr));
  EXPECT_EQ(expression, "UPPER('a' + 'b')");
}

TEST_F(EditorWindows, ValidationShowsTheResultOrTheError) {
  struct Case {
    const char* Expression;
    const char* Message;
  };
  const Case cases[] = {
      {"1+1", "There are no errors. The result is : 2"},
      {"1/0", "ERROR: Cannot divide by 0"},
      {"3/2", "There are no errors. The result is : 1.5"},
      {"'abc'", "There are no errors. The result is : abc"},
      // An empty text is a value, not an error.
      {"''", "There are no errors. The result is : "},
      {"1<2", "There are no errors. The result is : True"},
      {"NOPE(1)", "ERROR: Unknown function : NOPE"},
      {"Sales.Amount * 2", "There are no errors. The result is : 5"},
      {"RATE * 10", "There are no errors. The result is : 2"},
  };
  TForm form(nullptr);
  auto* data = new TMemDataSet(&form, "Sales");
  data->DefineFields({{"Amount", TFieldType::ftFloat}});
  data->AppendRow({TFieldValue::OfFloat(2.5)});
  data->Open();
  TRBEvEnvironment local;
  local.DefineVariable("RATE", "0.2");
  for (const Case& c : cases) {
    windows.push_back([&c](TForm& f) {
      auto& b = dynamic_cast<TRBExpressionBuilder&>(f);
      Type(f, c.Expression);
      Click(*b.ValidateBtn);
      Click(*b.Cancel);
    });
    std::string expression;
    EXPECT_FALSE(RBExpBld::EditExpression("", expression, &form, &local, nullptr));
    EXPECT_EQ(expression, "");
  }
  std::vector<std::string> expected;
  for (const Case& c : cases) expected.push_back(c.Message);
  EXPECT_EQ(messages, expected);
  // Both environments are given back as they were.
  EXPECT_FALSE(local.IsActive());
}

TEST_F(EditorWindows, LinesTypedApartComeBackAsOneAndOperatorsGetBlanks) {
  windows.push_back([](TForm& f) {
    auto& b = dynamic_cast<TRBExpressionBuilder&>(f);
    EXPECT_TRUE(b.Expr->Focused());
    Type(f, "1");
    Saisie::Touche(f, VK_RETURN);  // the editor takes Enter: a new line, not the OK button
    Saisie::Caractere(f, '\r');
    Type(f, "+1");
    EXPECT_EQ(b.Expr->Text(), "1\r\n+1");
    EXPECT_EQ(b.ExpressionResult, 0);
    for (TBitBtn* o : {b.AddNotEqual, b.AddNot, b.AddAnd, b.AddOr, b.AddGreaterEqual}) Click(*o);
    EXPECT_EQ(b.Expr->Text(), "1\r\n+1 <>  Not  And  Or  >= ");
    Click(*b.Clear);
    EXPECT_EQ(b.Expr->Text(), "");
    Type(f, "2");
    Saisie::Caractere(f, '\r');
    Type(f, "*3");
    Click(*b.OK);
  });
  std::string expression;
  EXPECT_TRUE(RBExpBld::EditExpression("Total", expression, nullptr, nullptr, nullptr));
  EXPECT_EQ(expression, "2*3");

  struct Case {
    const char* In;
    const char* Out;
  };
  for (const Case& c : {Case{"a\r\nb", "ab"}, Case{"a\rb", "ab"}, Case{"a\nb", "ab"}, Case{"a\r\r\nb\n", "ab"},
                        Case{"", ""}})
    EXPECT_EQ(RBExpBld::RemoveLineBreaks(c.In), c.Out) << c.In;
}

TEST_F(EditorWindows, VariablesComeLocalFirstAndEscapeCancelsTheirPage) {
  TRBEvEnvironment local;
  local.DefineVariable("RATE", "0.2");
  windows.push_back([](TForm& f) {
    auto& b = dynamic_cast<TRBExpressionBuilder&>(f);
    ASSERT_GE(b.AvailableVariables->Count(), 4);
    EXPECT_EQ(b.AvailableVariables->Items()[0], "RATE");
    EXPECT_EQ(b.AvailableVariables->Items()[1], "APPSTARTTIME");
    EXPECT_EQ(b.VariableValue->Caption(), "0.2");
    Click(*b.InsertVariableBtn);  // escaped
    Click(*b.InsertDataFieldBtn);  // escaped too
    Click(*b.InsertVariableBtn);
    EXPECT_FALSE(b.EscapePressed);
    Click(*b.OK);
  });
  auto escape = [](TWinControl& page) {
    TForm& f = *page.FormeParente();
    f.SetActiveControl(nullptr);
    EXPECT_TRUE(Saisie::Touche(f, page.Name() == "VariablePage" ? VK_ESCAPE : VK_SPACE));
  };
  pages.push_back(escape);
  pages.push_back(escape);
  pages.push_back([](TWinControl& page) {
    auto& b = Builder(page);
    Choose(*b.AvailableVariables, "APPNAME");
    EXPECT_EQ(b.VariableValue->Caption().substr(0, 1), "'");
    Click(*b.VariableOKBtn);
  });
  std::string expression;
  EXPECT_TRUE(RBExpBld::EditExpression("", expression, nullptr, &local, nullptr));
  EXPECT_EQ(expression, "APPNAME");
}

TEST_F(EditorWindows, NobodyInFrontOfTheScreenCancelsTheBuilderAndItsPages) {
  Application().DefinirPiloteModal(nullptr);  // the production driver
  std::string expression = "1+1";
  EXPECT_FALSE(RBExpBld::EditExpression("", expression, nullptr, nullptr, nullptr));
  EXPECT_EQ(expression, "");
  // A page waiting for nobody ends as cancelled.
  TRBExpressionBuilder builder(nullptr);
  builder.Show();
  builder.InsertFunctionBtnClick(nullptr);
  EXPECT_EQ(builder.FunctionResult, 2);
  EXPECT_EQ(builder.Expr->Text(), "");
  EXPECT_TRUE(builder.MainPage->Visible());
  EXPECT_FALSE(builder.FunctionPage->Visible());
  // A scripted page left open ends when the loop stops.
  Application().DefinirPiloteModal(&pilot);
  pages.push_back([](TWinControl&) {});
  builder.InsertVariableBtnClick(nullptr);
  EXPECT_EQ(builder.VariableResult, 2);
}

// ---------------------------------------------------------------------------------------------
// Environment editor

TEST_F(EditorWindows, TheEnvironmentEditorRenamesAndRefusesNamesThatWouldBeLost) {
  TRBEvEnvironment env;
  env.DefineVariable("A", "1");
  env.DefineVariable("B", "2");
  windows.push_back([&env](TForm& f) {
    auto& e = dynamic_cast<TRBEnvironmentEditor&>(f);
    EXPECT_TRUE(e.LocalCB->Checked());
    EXPECT_TRUE(e.GlobalCB->Enabled());
    TStringGrid& g = *e.UDFGrid;
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.Cells(0, 0), "Name");
    EXPECT_EQ(g.Cells(1, 0), "Expression");
    EXPECT_EQ(g.Cells(0, 2), "B");
    EXPECT_EQ(g.Cells(1, 2), "2");
    g.SetFocus();
    auto edit = [&](int Col, int Row, const std::string& Text) {
      g.Select(Col, Row);
      Saisie::Touche(f, TStringGrid::VK_F2);
      g.SetFocus();
      for (size_t i = g.EditText().size(); i > 0; --i) Saisie::Caractere(f, '\b');
      Type(f, Text);
      Saisie::Touche(f, VK_RETURN);
    };
    edit(0, 1, "b");  // already listed
    edit(0, 1, "");   // empty
    EXPECT_EQ(g.Cells(0, 1), "A");
    EXPECT_EQ(env.Names(0), "A");
    edit(0, 1, "rate");
    EXPECT_EQ(g.Cells(0, 1), "RATE");
    EXPECT_EQ(env.Names(0), "RATE");
    edit(0, 1, "Rate");  // its own name again
    EXPECT_EQ(env.Names(0), "RATE");
    edit(1, 2, "B+1");
    EXPECT_EQ(env.Variables(1)->ExpressionText, "B+1");
    // In an active environment the cell returns to the stored expression.
    env.Activate();
    edit(1, 2, "7");
    EXPECT_EQ(g.Cells(1, 2), "B+1");
    env.Deactivate();
    // The shared environment.
    Click(*e.GlobalCB);
    EXPECT_EQ(g.Cells(0, 1), SharedEnvironment()->Names(0));
    Click(*e.VariableOKBtn);
  });
  RBEnvEd::EditEnvironment(&env, true);
  EXPECT_EQ(messages, (std::vector<std::string>{"A variable named B already exists", "A variable needs a name"}));
  EXPECT_EQ(env.Count(), 2);
  EXPECT_EQ(env.Data(), (std::vector<std::string>{"1", "B+1"}));
}

TEST_F(EditorWindows, TheEnvironmentEditorAddsAndEditsThroughTheBuilder) {
  TRBEvEnvironment env;
  env.DefineVariable("A", "1");
  windows.push_back([](TForm& f) {
    auto& e = dynamic_cast<TRBEnvironmentEditor&>(f);
    Click(*e.AddBtn);
    EXPECT_TRUE(e.AddBtn->Visible());
    EXPECT_EQ(e.UDFGrid->Cells(0, 2), "TOTAL");
    EXPECT_EQ(e.UDFGrid->Cells(1, 2), "A+2");
    Click(*e.AddBtn);  // a listed name: refused
    Click(*e.AddBtn);  // cancelled
    e.UDFGrid->Select(1, 1);
    Click(*e.EditBtn);
    EXPECT_EQ(e.UDFGrid->Cells(1, 1), "5");
    Click(*e.DeleteBtn);  // no action
    Click(*e.VariableOKBtn);
  });
  pages.push_back([](TWinControl& page) {
    auto& e = dynamic_cast<TRBEnvironmentEditor&>(*page.FormeParente());
    EXPECT_EQ(page.Name(), "NewEntryGB");
    EXPECT_FALSE(e.AddBtn->Visible());
    EXPECT_FALSE(e.AvailableGB->Visible());
    Retype(*e.Name, "total");
    Retype(*e.Expression, "A");
    Click(*e.SpeedButton1);
    EXPECT_EQ(e.Expression->Text(), "A+2");
    Click(*e.NewOKBtn);
  });
  pages.push_back([](TWinControl& embedded) {
    auto& b = dynamic_cast<TRBExpressionBuilder&>(embedded);
    EXPECT_EQ(b.Heading->Caption(), "total");
    b.Expr->SetSelStart(1);
    Type(*b.FormeParente(), "+2");
    Click(*b.OK);
  });
  pages.push_back([](TWinControl& page) {
    auto& e = dynamic_cast<TRBEnvironmentEditor&>(*page.FormeParente());
    Retype(*e.Name, "a");
    Retype(*e.Expression, "9");
    Click(*e.NewOKBtn);
  });
  pages.push_back([](TWinControl& page) {
    auto& e = dynamic_cast<TRBEnvironmentEditor&>(*page.FormeParente());
    Retype(*e.Name, "other");
    Retype(*e.Expression, "4");
    Click(*e.SpeedButton1);
    EXPECT_EQ(e.Expression->Text(), "4");  // the builder was escaped
    Click(*e.NewCancelBtn);
  });
  pages.push_back([](TWinControl& embedded) {
    TForm& f = *embedded.FormeParente();
    f.SetActiveControl(nullptr);
    Saisie::Touche(f, VK_ESCAPE);
  });
  pages.push_back([](TWinControl& embedded) {
    auto& b = dynamic_cast<TRBExpressionBuilder&>(embedded);
    EXPECT_EQ(b.Heading->Caption(), "A");
    EXPECT_EQ(b.Expr->Text(), "1");
    Type(*b.FormeParente(), "5");
    Click(*b.OK);
  });
  RBEnvEd::EditEnvironment(&env, true);
  EXPECT_EQ(messages, std::vector<std::string>{"A variable named A already exists"});
  ASSERT_EQ(env.Count(), 2);
  EXPECT_EQ(env.Names(1), "TOTAL");
  EXPECT_EQ(env.Data(), (std::vector<std::string>{"5", "A+2"}));
}

TEST_F(EditorWindows, WithoutAnEnvironmentTheEditorShowsTheSharedOne) {
  windows.push_back([](TForm& f) {
    auto& e = dynamic_cast<TRBEnvironmentEditor&>(f);
    EXPECT_FALSE(e.LocalCB->Enabled());
    EXPECT_TRUE(e.GlobalCB->Checked());
    EXPECT_FALSE(e.GlobalCB->Enabled());
    EXPECT_EQ(e.UDFGrid->Cells(0, 1), "APPSTARTTIME");
    Click(*e.VariableOKBtn);
  });
  RBEnvEd::EditEnvironment(nullptr, false);
  // From the builder's variable page, Modify variables edits the local environment.
  TRBEvEnvironment local;
  windows.push_back([](TForm& f) {
    auto& b = dynamic_cast<TRBExpressionBuilder&>(f);
    Click(*b.InsertVariableBtn);
    Click(*b.OK);
  });
  pages.push_back([](TWinControl& page) {
    auto& b = Builder(page);
    Click(*b.ModifyVariables);
    EXPECT_EQ(b.AvailableVariables->Items()[0], "NEW");
    Choose(*b.AvailableVariables, "NEW");
    Click(*b.VariableOKBtn);
  });
  windows.push_back([](TForm& f) {
    auto& e = dynamic_cast<TRBEnvironmentEditor&>(f);
    EXPECT_TRUE(e.LocalCB->Checked());
    Click(*e.AddBtn);
    Click(*e.VariableOKBtn);
  });
  pages.push_back([](TWinControl& page) {
    auto& e = dynamic_cast<TRBEnvironmentEditor&>(*page.FormeParente());
    Retype(*e.Name, "new");
    Retype(*e.Expression, "3");
    Click(*e.NewOKBtn);
  });
  std::string expression;
  EXPECT_TRUE(RBExpBld::EditExpression("", expression, nullptr, &local, nullptr));
  EXPECT_EQ(expression, "NEW");
}

}  // namespace
