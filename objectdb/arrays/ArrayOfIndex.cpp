#include "objectdb/arrays/ArrayOfIndex.h"

#include "core/objects/Exceptions.h"

template class TCustomArrayTemplate<TArrayOfIndexTraits>;
template class TArrayTemplate<TArrayOfIndexTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfIndex)

int8_t TArrayOfIndexTraits::ComparerElements(TIndex* A, TIndex* B, int32_t, TObject*) {
  return TemplateArray::ComparerTexteSansCasse(A ? A->Nom : std::string(), B ? B->Nom : std::string());
}

void TArrayOfIndexTraits::CopierElement(TIndex* const& Source, TIndex*& Destination, TObject* Parametre) {
  auto* p = ObjectAs<TParametreAssignationIndex>(Parametre);
  if (p == nullptr) throw EInvalidCast();
  Destination = nullptr;
  if (Source == nullptr) return;
  auto* copie = new TIndex(TBlank{});
  copie->Assigner(Source, p->BaseSource, p->BaseDestination, p->TableSource, p->TableDestination);
  Destination = copie;
}
