// The design-time editors of the printable controls: an editor reads and writes a control's colour,
// font, value text and alignment, and its Edit opens the control's settings window. The text
// settings window edits a label's caption, size and layout flags.
#pragma once

#include <memory>
#include <string>

#include "core/objects/Exceptions.h"
#include "platform/gui/ControlesChoix.h"
#include "platform/gui/DialoguesSaisie.h"
#include "platform/gui/Fiches.h"
#include "reports/RBCtrls.h"

class TRBPrintableEditor;

// A call of an operation that only the descendants of a class provide.
class EAbstractError : public Exception {
 public:
  EAbstractError() : Exception("Abstract Error") {}
};

// The class of an editor: its name and the editor it makes for a control.
class TRBPrintableEditorClass {
 public:
  using Factory = std::unique_ptr<TRBPrintableEditor> (*)(TRBPrintable* Control);
  TRBPrintableEditorClass(const char* Name, Factory Make) : name_(Name), make_(Make) {}
  const char* ClassName() const { return name_; }
  std::unique_ptr<TRBPrintableEditor> Create(TRBPrintable* Control) const { return make_(Control); }

 private:
  const char* name_;
  Factory make_;
};

class TRBPrintableEditor {
 public:
  explicit TRBPrintableEditor(TRBPrintable* Control) : Control(Control) {}
  virtual ~TRBPrintableEditor() = default;
  TRBPrintableEditor(const TRBPrintableEditor&) = delete;
  TRBPrintableEditor& operator=(const TRBPrintableEditor&) = delete;

  static const TRBPrintableEditorClass* StaticClass();

  virtual TColor Color() const { return 0; }
  // Nil: the base edits no font.
  virtual const TFont* Font() const { return nullptr; }
  virtual const TRBComponentClass* ControlClass() const { return TRBPrintable::StaticClass(); }
  virtual std::string ValueText() const { return {}; }
  virtual std::string TypeName() const { return {}; }
  virtual std::string Description() const { return {}; }
  virtual TAlignment Alignment() const { return TAlignment::taLeftJustify; }
  virtual void SetAlignment(TAlignment Value) { (void)Value; }
  // Provided by the descendants (EAbstractError here).
  virtual void SetColor(TColor Value);
  virtual void SetFont(const TFont& Value);
  virtual void SetValueText(const std::string& Value);
  // Opens the settings window: true when the user accepted.
  virtual bool Edit();

  TRBPrintable* Control;
};

class TRBLabelEditor : public TRBPrintableEditor {
 public:
  using TRBPrintableEditor::TRBPrintableEditor;
  static const TRBPrintableEditorClass* StaticClass();

  TColor Color() const override { return Control->Color(); }
  const TFont* Font() const override { return &Control->Font(); }
  const TRBComponentClass* ControlClass() const override { return TRBLabel::StaticClass(); }
  std::string ValueText() const override;
  std::string TypeName() const override { return "RBLABEL"; }
  std::string Description() const override { return "Text Control"; }
  TAlignment Alignment() const override;
  void SetAlignment(TAlignment Value) override;
  void SetColor(TColor Value) override { Control->SetColor(Value); }
  void SetFont(const TFont& Value) override { Control->SetFont(Value); }
  void SetValueText(const std::string& Value) override;
  // The text settings window. On OK the width and height are read first: an entry that is not a
  // number shows the conversion error and leaves the control unchanged (the answer is then false).
  bool Edit() override;

 protected:
  TRBCustomLabel* Label() const { return static_cast<TRBCustomLabel*>(Control); }
  // What a settings window gives back, applied once both lengths are read: false, with the
  // conversion error shown in a message box and nothing changed, when one is not a number.
  bool Apply(const std::string& Value, const std::string& Width, const std::string& Height, bool AutoSize,
             bool Stretch, bool Transparent);
};

class TRBLabelEditorForm : public TForm {
 public:
  explicit TRBLabelEditorForm(TComponent* Owner);

  TGroupBox* GroupBox1;
  TLabel* Label1;
  TLabel* Label2;
  TLabel* Label3;
  TEdit* Value;
  TMaskEdit* Width;
  TMaskEdit* Height;
  TCheckBox* AutoSize;
  TCheckBox* Stretch;
  TCheckBox* Transparent;
  TBitBtn* OKBtn;
  TBitBtn* Button4;
  TFontDialog* FontDialog1;
};

namespace RBLablEd {

// The text of a length as the settings windows show it (the general float text) and its reading
// back; a text that is not a number raises EConvertError with the platform's message.
std::string LengthText(double Value);
double ParseLength(const std::string& Text);
}  // namespace RBLablEd
