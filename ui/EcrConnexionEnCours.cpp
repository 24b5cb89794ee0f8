#include "ui/EcrConnexionEnCours.h"

#include "objectdb/Traduction.h"

TFichePatienceConnexion::TFichePatienceConnexion(TComponent* Owner) : TForm(Owner) {
  SetName("FichePatienceConnexion");
  SetBorderStyle(TFormBorderStyle::bsDialog);
  BorderIcons = 0;
  Position = TPosition::poMainFormCenter;
  SetClientWidth(353);
  SetClientHeight(38);
  PanelMessage = new TVokPanel(this);
  PanelMessage->SetName("PanelMessage");
  PanelMessage->SetParent(this);
  PanelMessage->SetAlign(TAlign::alClient);
  PanelMessage->SetBevelOuter(TBevelCut::bvNone);
  PanelMessage->SetBorderWidth(8);
  PanelMessage->SetParentFont(false);
  PanelMessage->FontModifiable().Color = Couleurs::clBlack;
  PanelMessage->FontModifiable().Height = 13;
  PanelMessage->SetCaption("");
  SetCaption(Traduction::Traduire("EcrConnexionEnCoursPatientez"));
}

void TFichePatienceConnexion::Afficher(const std::string& Message) {
  PanelMessage->SetCaption(Message);
  Show();
}
