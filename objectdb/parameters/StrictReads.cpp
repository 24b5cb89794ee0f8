#include "objectdb/parameters/StrictReads.h"

#include "core/arrays/TemplateArray.h"

namespace {

template <class V>
V LireFixe(IFormateur* Formateur, int32_t (IFormateur::*Lecture)(V&)) {
  V v{};
  if ((Formateur->*Lecture)(v) != static_cast<int32_t>(sizeof(V))) TemplateArray::ErreurLecture();
  return v;
}

template <class S>
S LireTexte(IFormateur* Formateur, int32_t (IFormateur::*Lecture)(S&)) {
  S s;
  if (TemplateArray::OctetsRestants(Formateur) < 4 || (Formateur->*Lecture)(s) < 0) TemplateArray::ErreurLecture();
  return s;
}

}  // namespace

std::string StrictReads::LireChaine(IFormateur* Formateur) { return LireTexte(Formateur, &IFormateur::LireChaine); }
std::u16string StrictReads::LireChaineLarge(IFormateur* Formateur) {
  return LireTexte(Formateur, &IFormateur::LireChaineLarge);
}
int32_t StrictReads::LireEntier(IFormateur* Formateur) { return LireFixe(Formateur, &IFormateur::LireEntier); }
uint32_t StrictReads::LireCardinal(IFormateur* Formateur) { return LireFixe(Formateur, &IFormateur::LireCardinal); }
int64_t StrictReads::LireInt64(IFormateur* Formateur) { return LireFixe(Formateur, &IFormateur::LireInt64); }
double StrictReads::LireDouble(IFormateur* Formateur) { return LireFixe(Formateur, &IFormateur::LireDouble); }
bool StrictReads::LireBooleen(IFormateur* Formateur) {
  bool v = false;
  if (Formateur->LireBooleen(v) != 1) TemplateArray::ErreurLecture();
  return v;
}
