// An object that carries an integer tag for whoever handles it: the assignment parameters of the
// object database receive, through it, the position of each element an array copies.
#pragma once

#include <cstdint>

class IEtiquetable {
 public:
  virtual void SetEtiquette(int32_t Valeur) = 0;

 protected:
  ~IEtiquetable() = default;
};
