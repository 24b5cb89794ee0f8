#include "core/arrays/ArrayOfTDateTime.h"

#include "core/values/Format.h"
#include "core/objects/GestionnaireNomsDeClasse.h"

template class TCustomArrayTemplate<TArrayOfTDateTimeTraits>;
template class TArrayTemplate<TArrayOfTDateTimeTraits>;
template class TPagedArrayTemplate<TArrayOfTDateTimeTraits>;
template class TFixedArrayTemplate<TArrayOfTDateTimeTraits>;

NV_DEFINE_ARRAY_CLASS(TArrayOfTDateTime)
NV_DEFINE_ARRAY_CLASS(TPagedArrayOfTDateTime)
NV_DEFINE_ARRAY_CLASS(TFixedArrayOfTDateTime)

std::string TArrayOfTDateTimeTraits::DateHeureEnTexte(TDateTime Valeur) {
  int annee;
  unsigned mois, jour, heure, minute, seconde, milli;
  DateTime::DecodeDate(Valeur, annee, mois, jour);
  DateTime::DecodeTime(Valeur, heure, minute, seconde, milli);
  const char d = FormatSettingsFixes.DateSeparator, t = FormatSettingsFixes.TimeSeparator;
  std::string texte = Format("%.2d%s%.2d%s%.4d", {static_cast<int>(jour), d, static_cast<int>(mois), d, annee});
  if (heure != 0 || minute != 0 || seconde != 0)
    texte += Format(" %.2d%s%.2d%s%.2d", {static_cast<int>(heure), t, static_cast<int>(minute), t, static_cast<int>(seconde)});
  return texte;
}

void ArrayOfTDateTime::Initialiser() {
  TGestionnaireNomsDeClasse::Enregistrer(TArrayOfTDateTime::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TPagedArrayOfTDateTime::StaticClass());
  TGestionnaireNomsDeClasse::Enregistrer(TFixedArrayOfTDateTime::StaticClass());
}
