// The toolkit's own pictures, compiled into the program: the message pictures ("IMAGEINFORMATION",
// "IMAGECONFIRMATION", "IMAGEAIDE"), the wait pictures ("PATIENCE2", "PATIENTER"), the list's
// creation-row pictures ("CREATIONGAUCHE", "CREATIONDROITE", "CREATIONPLUS", on a silver ground
// that is their transparent colour). The start-up makes each a resource of the program's module
// under its name, where a language module may replace it.
#pragma once

#include <cstddef>
#include <span>

namespace ImagesToolkit {

struct TImageIntegree {
  const char* Nom;
  const unsigned char* Octets;  // PNG
  size_t Taille;
};

std::span<const TImageIntegree> Images();
// Unit start: the pictures become resources of the program; unit end: they go.
void Initialiser();
void Finaliser();

}  // namespace ImagesToolkit
