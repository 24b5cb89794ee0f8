// What the seed writers of every library share: the folder the seeds go to, and the bytes of a seed
// built from texts, values and what the system's own writers put in a stream. Each library's seeds
// live in fuzz/seeds/<Library>.cpp, beside the seeds of the other readers of that library; a new
// reader's seeds go in its library's file, and a new library's file gets its call in Semences.cpp.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/serial/Serialisation.h"
#include "core/serial/Streams.h"
#include "fuzz/FuzzSupport.h"

namespace Semences {

using Octets = std::vector<uint8_t>;

// Writes <folder>/<Cible>/<Nom>, where <folder> is the one fuzz_seeds was given.
void Ecrire(const std::string& Cible, const std::string& Nom, const Octets& Contenu);

inline Octets operator+(Octets a, const Octets& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
inline Octets Texte(const std::string& s) { return Octets(s.begin(), s.end()); }
template <class V>
Octets Valeur(V v) {
  Octets o(sizeof v);
  std::memcpy(o.data(), &v, sizeof v);
  return o;
}

// What a formatter of the layout (0 plain, 1 sized) writes through Ecriture.
template <class F>
Octets Flux(uint8_t Disposition, F Ecriture) {
  TMemoryStream flux;
  Ecriture(*Fuzz::Formateur(Disposition, &flux));
  return flux.Bytes();
}

// The content of an object as it writes itself (no class name before it), after the choice byte of
// a target that reads objects directly: bits 0 and 1 the disposition, the rest the rank of the class.
Octets Direct(uint8_t Rang, uint8_t Disposition, TObject* Objet);

// Creation orders of a base holding a resource of every kind (a room group among them, and a kind
// the file does not know), the records they refer to, class and room labels and resource-subject
// relations of kinds 0, 2, 3 and 4: each order refers to records the orders before it created.
std::vector<Octets> OrdresRessources();
// Then a course and its course relations (orphans, a change and a deletion among them).
std::vector<Octets> OrdresRelationsCours();
std::vector<Octets> OrdresDisponibilites();
// Students with their references, families, headings and headings given, as creation orders.
std::vector<Octets> OrdresEleves();

// The seeds of each library's readers, in the order the libraries build on one another.
void Core();
void Objectdb();
void Platform();
void Ui();
void Net();
void Base();
void Streams();
void Service();
void Server();
void Reports();
// The report pages: page files and page search.
void ReportsPages();

}  // namespace Semences
