// Every typed-array class that a stream can hold (each instance in each of its storages), in the
// order in which the array fuzz target numbers them; its seeds are written in the same order.
#pragma once

#include "core/arrays/ArrayOfBooleen.h"
#include "core/arrays/ArrayOfCardinal.h"
#include "core/arrays/ArrayOfClasses.h"
#include "core/arrays/ArrayOfDouble.h"
#include "core/arrays/ArrayOfIInterface.h"
#include "core/arrays/ArrayOfInt64.h"
#include "core/arrays/ArrayOfInteger.h"
#include "core/arrays/ArrayOfItemInfoAcces.h"
#include "core/arrays/ArrayOfReal.h"
#include "core/arrays/ArrayOfSingle.h"
#include "core/arrays/ArrayOfString.h"
#include "core/arrays/ArrayOfTDateTime.h"
#include "core/arrays/ArrayOfTObject.h"
#include "core/arrays/ArrayOfWideString.h"
#include "objectdb/arrays/ArrayOfTypeNomTypeEtClasseChamp.h"
#include "objectdb/durations/ArrayOfDuree.h"

namespace Fuzz {

template <class... A>
struct TListeTableaux {
  static constexpr std::size_t kNombre = sizeof...(A);
  // Calls Visiteur.template operator()<Classe>(Rang) for each class, in order.
  template <class V>
  static void PourChacun(V&& Visiteur) {
    std::size_t rang = 0;
    (Visiteur.template operator()<A>(rang++), ...);
  }
};

using TTableauxLisibles = TListeTableaux<
    TArrayOfInteger, TPagedArrayOfInteger, TFixedArrayOfInteger, TArrayOfCardinal, TPagedArrayOfCardinal,
    TFixedArrayOfCardinal, TArrayOfBooleen, TPagedArrayOfBooleen, TFixedArrayOfBooleen, TArrayOfDouble,
    TPagedArrayOfDouble, TFixedArrayOfDouble, TArrayOfInt64, TPagedArrayOfInt64, TFixedArrayOfInt64, TArrayOfReal,
    TPagedArrayOfReal, TFixedArrayOfReal, TArrayOfSingle, TPagedArrayOfSingle, TFixedArrayOfSingle, TArrayOfString,
    TPagedArrayOfString, TFixedArrayOfString, TArrayOfTDateTime, TPagedArrayOfTDateTime, TFixedArrayOfTDateTime,
    TArrayOfTObject, TPagedArrayOfTObject, TFixedArrayOfTObject, TArrayOfWideString, TPagedArrayOfWideString,
    TFixedArrayOfWideString, TArrayOfDuree, TPagedArrayOfDuree, TFixedArrayOfDuree, TArrayOfClasses,
    TArrayOfIInterface, TArrayOfItemInfoAcces, TArrayOfTypeNomTypeEtClasseChamp>;

}  // namespace Fuzz
