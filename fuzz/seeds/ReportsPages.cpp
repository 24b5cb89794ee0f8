// Seeds of the report pages' readers: page files (plain and coded, one of the older 124-byte
// layout, one of no pages) and the page search's input (a search text, then a page).
#include <cstring>
#include <string>

#include "fuzz/seeds/Semences.h"
#include "reports/RBPrntr.h"
#include "reports/RBSearch.h"

namespace Semences {
namespace {

std::unique_ptr<TMetafile> PageTexte(int n) {
  auto page = std::make_unique<TMetafile>(794, 1123);
  Metafichier::TMetafileCanvas c(*page);
  c.Font.Name = "Arial";
  c.TextOut(100, 100, "Page " + std::to_string(n));
  c.TextOut(100, 140, "\xC9l\xE8ve");
  c.Rectangle({50, 50, 700, 1000});
  return page;
}

Octets FichierPages(int Pages, bool Code) {
  TRBPageList liste;
  liste.Compressed = Code;
  liste.SetStore(std::make_unique<TRBStream>(250000));
  for (int i = 1; i <= Pages; ++i) liste.AddPage(*PageTexte(i));
  liste.WriteHeader();
  TMemoryStream copie;
  liste.Store()->CopyTo(copie);
  return copie.Bytes();
}

// The same file in the older layout: the date at 12, the coding flag at 21, positions 4 lower.
Octets Ancien(const Octets& o) {
  Octets a(o.begin(), o.begin() + 12);
  a.resize(124);
  std::memcpy(a.data() + 12, o.data() + 16, 8);
  a[21] = o[25];
  std::size_t p = 128;
  while (p + 8 <= o.size()) {
    int32_t suivant, debut = static_cast<int32_t>(p) - 4;
    std::memcpy(&suivant, o.data() + p + 4, 4);
    Octets r(o.begin() + static_cast<std::ptrdiff_t>(p), o.begin() + suivant);
    const int32_t nouveau = suivant - 4;
    std::memcpy(r.data() + 4, &nouveau, 4);
    std::memcpy(r.data() + r.size() - 4, &debut, 4);
    a = a + r;
    p = static_cast<std::size_t>(suivant);
  }
  return a;
}

}  // namespace

void ReportsPages() {
  Ecrire("FichierPages", "trois", FichierPages(3, false));
  Ecrire("FichierPages", "trois-code", FichierPages(3, true));
  Ecrire("FichierPages", "ancien", Ancien(FichierPages(2, false)));
  Ecrire("FichierPages", "ancien-code", Ancien(FichierPages(2, true)));
  Ecrire("FichierPages", "vide", FichierPages(0, false));
  const Octets page = PageTexte(1)->Octets();
  Ecrire("RechercheTexte", "casse", Octets{1, 4} + Texte("Page") + page);
  Ecrire("RechercheTexte", "sans-casse", Octets{0, 5} + Texte("\xE9L\xC8VE") + page);
}

}  // namespace Semences
