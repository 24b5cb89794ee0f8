#include "reports/RBSearchDlg.h"

#include "reports/RBChaines.h"

using RBChaines::Text;

TSearchDlg::TSearchDlg(TComponent* Owner) : TForm(Owner) {
  SetName("SearchDlg");
  SetVisible(false);
  SetBorderStyle(TFormBorderStyle::bsDialog);
  Position = TPosition::poScreenCenter;
  SetClientWidth(290);
  SetClientHeight(96);
  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetParent(this);
  Label1->SetBounds(8, 10, 80, 13);
  Edit1 = new TEdit(this);
  Edit1->SetName("Edit1");
  Edit1->SetParent(this);
  Edit1->SetBounds(8, 28, 273, 21);
  Edit1->TabStop = true;
  CheckBox1 = new TCheckBox(this);
  CheckBox1->SetName("CheckBox1");
  CheckBox1->SetParent(this);
  CheckBox1->SetBounds(8, 62, 130, 17);
  SpeedButton1 = new TBitBtn(this);
  SpeedButton1->SetName("SpeedButton1");
  SpeedButton1->SetParent(this);
  SpeedButton1->SetBounds(206, 60, 75, 25);
  SpeedButton1->Cancel = true;
  SpeedButton1->OnClick = [this](TComponent* s) { SpeedButton1Click(s); };
  SpeedButton2 = new TBitBtn(this);
  SpeedButton2->SetName("SpeedButton2");
  SpeedButton2->SetParent(this);
  SpeedButton2->SetBounds(126, 60, 75, 25);
  SpeedButton2->Default = true;
  SpeedButton2->OnClick = [this](TComponent* s) { SpeedButton2Click(s); };
  OnShow = [this](TComponent* s) { FormShow(s); };
}

void TSearchDlg::FormShow(TComponent*) {
  SetCaption(Text(RBChaines::RS_SearchCaption));
  Label1->SetCaption(Text(RBChaines::RS_Find));
  CheckBox1->SetCaption(Text(RBChaines::RS_MatchCase));
  SpeedButton1->SetCaption(Text(RBChaines::RS_Cancel));
  SpeedButton2->SetCaption(Text(RBChaines::RS_OK));
  if (Edit1->CanFocus()) Edit1->SetFocus();
}

void TSearchDlg::SpeedButton1Click(TComponent*) {
  Cancelled = true;
  Close();
}

void TSearchDlg::SpeedButton2Click(TComponent*) {
  Cancelled = false;
  SetModalResult(mrOk);
}

void TSearchDlg::Execute() {
  Cancelled = false;
  ShowModal();
  SearchText = Edit1->Text();
  MatchCase = CheckBox1->Checked();
}
