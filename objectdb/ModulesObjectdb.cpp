#include "objectdb/ModulesObjectdb.h"

#include "objectdb/articles/Article.h"
#include "objectdb/columns/CustomChamp.h"
#include "objectdb/columns/ChampBooleen.h"
#include "objectdb/columns/ChampCardinal.h"
#include "objectdb/columns/ChampInteger.h"
#include "objectdb/columns/ChampInt64.h"
#include "objectdb/columns/ChampSingle.h"
#include "objectdb/columns/ChampDouble.h"
#include "objectdb/columns/ChampReal.h"
#include "objectdb/columns/ChampTDateTime.h"
#include "objectdb/columns/ChampDuree.h"
#include "objectdb/columns/ChampString.h"
#include "objectdb/columns/ChampWideString.h"
#include "objectdb/columns/ChampInterface.h"
#include "objectdb/columns/ChampObject.h"
#include "objectdb/durations/ArrayOfDuree.h"
#include "objectdb/durations/FormateurDuree.h"
#include "objectdb/parameters/CustomParametre.h"
#include "objectdb/parameters/ParametreBooleen.h"
#include "objectdb/parameters/ParametreCardinal.h"
#include "objectdb/parameters/ParametreDouble.h"
#include "objectdb/parameters/ParametreDuree.h"
#include "objectdb/parameters/ParametreInt64.h"
#include "objectdb/parameters/ParametreInteger.h"
#include "objectdb/parameters/ParametreInterface.h"
#include "objectdb/parameters/ParametreObject.h"
#include "objectdb/parameters/ParametreReal.h"
#include "objectdb/parameters/ParametreReferenceArticle.h"
#include "objectdb/parameters/ParametreSingle.h"
#include "objectdb/parameters/ParametreString.h"
#include "objectdb/parameters/ParametreTDateTime.h"
#include "objectdb/parameters/ParametreWideString.h"
#include "objectdb/properties/ProprietePubliee.h"
#include "objectdb/arrays/TableauIndices.h"
#include "objectdb/bases/Base.h"
#include "objectdb/schema/Referentiel.h"
#include "objectdb/tables/CustomTable.h"
#include "objectdb/Traduction.h"
#include "objectdb/localisation/ChangementDeLangue.h"
#include "objectdb/localisation/EntiteHtml.h"

std::span<const TModule> ModulesObjectdb() {
  static const TModule kTable[] = {
      {"ArrayOfDuree", ArrayOfDuree::Initialiser, nullptr},
      {"FormateurDuree", FormateurDuree::Initialiser, nullptr},
      {"CustomParametre", CustomParametre::Initialiser, CustomParametre::Finaliser},
      {"ParametreBooleen", ParametreBooleen::Initialiser, nullptr},
      {"ParametreCardinal", ParametreCardinal::Initialiser, nullptr},
      {"ParametreInteger", ParametreInteger::Initialiser, nullptr},
      {"ParametreInt64", ParametreInt64::Initialiser, nullptr},
      {"ParametreDouble", ParametreDouble::Initialiser, nullptr},
      {"ParametreReal", ParametreReal::Initialiser, nullptr},
      {"ParametreSingle", ParametreSingle::Initialiser, nullptr},
      {"ParametreTDateTime", ParametreTDateTime::Initialiser, nullptr},
      {"ParametreDuree", ParametreDuree::Initialiser, nullptr},
      {"ParametreString", ParametreString::Initialiser, nullptr},
      {"ParametreWideString", ParametreWideString::Initialiser, nullptr},
      {"ParametreObject", ParametreObject::Initialiser, nullptr},
      {"ParametreInterface", ParametreInterface::Initialiser, nullptr},
      {"ParametreReferenceArticle", ParametreReferenceArticle::Initialiser, nullptr},
      {"ProprietePubliee", ProprietePubliee::Initialiser, nullptr},
      {"TableauIndices", TableauIndices::Initialiser, nullptr},
      {"CustomChamp", nullptr, CustomChamp::Finaliser},
      {"ChampBooleen", ChampBooleen::Initialiser, nullptr},
      {"ChampCardinal", ChampCardinal::Initialiser, nullptr},
      {"ChampInteger", ChampInteger::Initialiser, nullptr},
      {"ChampInt64", ChampInt64::Initialiser, nullptr},
      {"ChampSingle", ChampSingle::Initialiser, nullptr},
      {"ChampDouble", ChampDouble::Initialiser, nullptr},
      {"ChampReal", ChampReal::Initialiser, nullptr},
      {"ChampTDateTime", ChampTDateTime::Initialiser, nullptr},
      {"ChampDuree", ChampDuree::Initialiser, nullptr},
      {"ChampString", ChampString::Initialiser, nullptr},
      {"ChampWideString", ChampWideString::Initialiser, nullptr},
      {"ChampInterface", ChampInterface::Initialiser, nullptr},
      {"ChampObject", ChampObject::Initialiser, nullptr},
      {"Article", Article::Initialiser, nullptr},
      {"CustomTable", CustomTable::Initialiser, nullptr},
      {"Referentiel", Referentiel::Initialiser, nullptr},
      {"Base", Base::Initialiser, nullptr},
      {"EntiteHtml", EntiteHtml::Initialiser, nullptr},
      {"ChangementDeLangue", nullptr, ChangementDeLangue::Finaliser},
      {"Traduction", Traduction::Initialiser, Traduction::Finaliser},
  };
  return kTable;
}
