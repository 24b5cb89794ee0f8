// A stored report: read into a form, written again (the text must read back to the same bytes), then
// run into the page store with a few records in each of its datasets. The run stops after 30 pages.
#include <cstdint>
#include <string>

#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/RapportsFuzz.h"
#include "reports/BandRptFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::DemarrerRapports();
  TForm form(nullptr);
  TCustomBandRep* report = nullptr;
  try {
    report = BandRptFiles::ReadReport(std::string(reinterpret_cast<const char*>(Data), Size), &form);
  } catch (const EReadError&) {
    Fuzz::Verifier(form.ComponentCount() == 0, "a refused report leaves nothing behind");
    return 0;
  }
  std::string text;
  try {
    text = BandRptFiles::WriteReport(*report);
  } catch (const EWriteError&) {
    return 0;
  }
  {
    TForm again(nullptr);
    TCustomBandRep* copy = BandRptFiles::ReadReport(text, &again);
    Fuzz::Verifier(BandRptFiles::WriteReport(*copy) == text, "a written report reads back to the same text");
  }
  for (int i = 0; i < report->ComponentCount(); ++i)
    if (auto* ds = dynamic_cast<TMemDataSet*>(report->Components(i))) {
      for (int r = 0; r < 5; ++r) {
        std::vector<TFieldValue> row;
        for (int f = 0; f < ds->FieldCount(); ++f) {
          switch (ds->Fields(f)->DataType()) {
            case TFieldType::ftString: row.push_back(TFieldValue::OfText(r < 2 ? "A" : "B")); break;
            case TFieldType::ftBoolean: row.push_back(TFieldValue::OfBoolean(r % 2 == 0)); break;
            case TFieldType::ftInteger:
            case TFieldType::ftSmallint:
            case TFieldType::ftWord: row.push_back(TFieldValue::OfInteger(r)); break;
            default: row.push_back(TFieldValue::OfFloat(r * 1.5)); break;
          }
        }
        ds->AppendRow(std::move(row));
      }
      ds->Open();
    }
  report->OnStartPage = [](TCustomBandRep* Sender) {
    if (Sender->PageNumber > 30) Sender->CancelRun();
  };
  try {
    report->RunReport(false);
  } catch (const Exception&) {
    // A failing run must still leave the report idle.
  }
  Fuzz::Verifier(report->Idle, "the report is idle after its run");
  return 0;
}
