#include "objectdb/arrays/ArrayOfChamp.h"

#include "core/objects/Exceptions.h"

template class TCustomArrayTemplate<TArrayOfChampTraits>;
template class TArrayTemplate<TArrayOfChampTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfChamp)

int8_t TArrayOfChampTraits::ComparerElements(TCustomChamp* A, TCustomChamp* B, int32_t Mode, TObject* /*Parametre*/) {
  if (Mode == 0) {
    return TemplateArray::ComparerTexteSansCasse(A ? A->Nom : std::string(), B ? B->Nom : std::string());
  }
  if (Mode == 1) {
    const auto a = reinterpret_cast<uintptr_t>(A), b = reinterpret_cast<uintptr_t>(B);
    return a < b ? -1 : a > b ? 1 : 0;
  }
  return 0;
}

void TArrayOfChampTraits::CopierElement(TCustomChamp* const& Source, TCustomChamp*& Destination, TObject* Parametre) {
  auto* p = ObjectAs<TParametreAssignationChamp>(Parametre);
  if (p == nullptr) throw EInvalidCast();
  Destination = nullptr;
  if (Source == nullptr) return;
  auto* copie = static_cast<TCustomChamp*>(Source->ClassType()->NewBlank());
  copie->AssignerStructure(Source, p->BaseSource, p->BaseDestination, p->TableSource, p->TableDestination);
  Destination = copie;
}

void TArrayOfChampTraits::TracerElement(TCustomChamp* Element, bool Detail, std::string& Texte, TCustomTraceur* Traceur) {
  Texte.clear();
  if (Element != nullptr) Element->Tracer(Detail, Traceur, Texte);
}
