// The page search: input is a flag byte (bit 0: match case), a length byte, the search text, then the
// page's metafile bytes.
#include <string>

#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "reports/RBSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  if (Size < 2) return 0;
  const bool casse = Data[0] & 1;
  const std::size_t n = std::min<std::size_t>(Data[1], Size - 2);
  const std::string texte(reinterpret_cast<const char*>(Data + 2), n);
  std::unique_ptr<Metafichier::TMetafile> page;
  try {
    page = Metafichier::TMetafile::LoadFromBytes(Data + 2 + n, Size - 2 - n);
  } catch (const EReadError&) {
    return 0;
  }
  const bool trouve = RBSearch::FindTextInPage(texte, *page, casse);
  Fuzz::Verifier(!RBSearch::SearchBusy(), "the search is idle after it");
  if (trouve && casse) Fuzz::Verifier(RBSearch::FindTextInPage(texte, *page, false), "a text found with its case is found without");
  return 0;
}
