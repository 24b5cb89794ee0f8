// Page files: the header and its size, then every page, last first (as loading does), forward and
// backward; a broken file gives the stream read error for a page, never a crash or a hang.
#include <string>

#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "reports/RBPrntr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  TRBPageList liste;
  auto store = std::make_unique<TRBStream>(INT32_MAX);
  store->WriteBuffer(Data, static_cast<int64_t>(Size));
  liste.SetStore(std::move(store));
  try {
    liste.ReadHeader();
  } catch (const EReadError&) {
    return 0;
  }
  const int32_t n = liste.PagesStored();
  Fuzz::Verifier(n >= 0 && n <= static_cast<int64_t>(Size) / 12, "the page count is bounded by the file's size");
  auto lire = [&](int32_t i) {
    try {
      auto page = liste.GetPage(i);
      Fuzz::Verifier(page != nullptr, "a page within the count is given or refused");
      TCanvasEnregistreur c;
      page->Jouer(c, {0, 0, 100, 140});
    } catch (const EReadError&) {
    }
  };
  if (n > 0) lire(n);
  for (int32_t i = 1; i <= n && i <= 64; ++i) lire(i);
  for (int32_t i = std::min(n, 64); i >= 1; --i) lire(i);
  Fuzz::Verifier(liste.GetPage(0) == nullptr && liste.GetPage(n + 1) == nullptr, "no page outside the count");
  return 0;
}
