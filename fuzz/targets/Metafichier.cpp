// Page metafiles: loading from bytes, enumerating the records, decoding their texts and playing
// the page stretched onto a recording canvas; a page that loads writes back the same bytes.
#include <string>

#include "core/objects/Exceptions.h"
#include "fuzz/FuzzSupport.h"
#include "platform/gui/Metafichier.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  Fuzz::Demarrer();
  std::unique_ptr<Metafichier::TMetafile> page;
  try {
    TMemoryStream flux;
    flux.Write(Data, static_cast<int64_t>(Size));
    flux.SetPosition(0);
    page = Metafichier::TMetafile::LoadFromStream(flux);
    Fuzz::Verifier(flux.Position() == static_cast<int64_t>(page->Octets().size()), "a page reads exactly its bytes");
  } catch (const EReadError&) {
    return 0;
  }
  TMemoryStream copie;
  page->SaveToStream(copie);
  Fuzz::Verifier(copie.Bytes() == std::vector<uint8_t>(Data, Data + page->Octets().size()), "a page writes back its bytes");
  std::size_t textes = 0;
  page->Enumerer([&](const Metafichier::TEnregistrement& E) {
    std::string t;
    if (Metafichier::TexteEnregistrement(E, t)) textes += t.size();
    return true;
  });
  TCanvasEnregistreur c;
  page->Jouer(c, {0, 0, 300, 200});
  page->Jouer(c, {-5, 7, 12, 9});
  Fuzz::Verifier(c.Clip() == nullptr, "playing leaves the canvas's clip as it was");
  return 0;
}
