#include "reports/RBPrgres.h"

#include "platform/gui/Messages.h"

TRBProgressForm::TRBProgressForm(TComponent* Owner) : TForm(Owner) {
  SetCaption("Printing progress");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  SetClientWidth(149);
  SetClientHeight(97);
  FormStyle = TFormStyle::fsStayOnTop;
  Position = TPosition::poScreenCenter;
  Gauge = new TProgressBar(this);
  Gauge->SetParent(this);
  Gauge->SetBounds(16, 18, 114, 16);
  Info = new TLabel(this);
  Info->SetParent(this);
  Info->SetAutoSize(false);
  Info->SetAlignment(TAlignment::taCenter);
  Info->SetBounds(0, 44, 145, 13);
  CancelButton = new TBitBtn(this);
  CancelButton->SetParent(this);
  CancelButton->SetBounds(36, 60, 75, 25);
  CancelButton->SetCaption("Cancel");
  CancelButton->OnClick = [this](TComponent* Sender) { CancelButtonClick(Sender); };
}

void TRBProgressForm::RecevoirMessage(uint32_t Message, intptr_t Parameter) {
  if (Message != kRBMessageProgress) return;
  if (Parameter % 5 == 0) {
    Gauge->SetPosition(static_cast<int>(Parameter));
    Info->SetCaption(std::to_string(Parameter) + "% " + " Completed");
  }
  Messages::TraiterMessagesEnAttente();
}

void TRBProgressForm::CancelButtonClick(TComponent*) {
  if (Target != nullptr) Target->Cancel();
}
