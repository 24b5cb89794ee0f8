// Files of fixed-size records kept open in a record that the caller owns: open, create, move by
// whole records and write one record at a time. Openings and creations never raise: their outcome is
// StatutFichierEnregistrements. The unit's start-up also hands these helpers to the crash log of the
// core library, which writes its file through them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/serial/Streams.h"

// The caller's file record.
struct TypeFichierEnregistrements {
  std::unique_ptr<TFileStream> Flux;  // none when the file is not open
  int32_t TailleEnregistrement = 0;
  uint16_t Mode = 0;
};

namespace FichierEnregistrements {

// The outcome of the last opening, creation or closing: 0 success, 1 failure.
int32_t StatutFichierEnregistrements();

// Opens the named file with Mode and keeps the stream, the record size and the mode in Fichier. On
// failure the status becomes 1 and Fichier is left as it was.
void OuvrirFichierEnregistrements(const std::string& Nom, uint16_t Mode, int32_t TailleEnregistrement,
                                  TypeFichierEnregistrements& Fichier);
// Creates the named file (an existing file is emptied), closes it and opens it as above. On failure
// the status becomes 1.
void CreerFichierEnregistrements(const std::string& Nom, uint16_t Mode, int32_t TailleEnregistrement,
                                 TypeFichierEnregistrements& Fichier);
// Frees the stream when there is one; the status becomes 0.
void FermerFichierEnregistrements(TypeFichierEnregistrements& Fichier);
// Writes TailleEnregistrement bytes at the current position (EWriteError when the file is not open
// or the write is short).
void EcrireEnregistrement(TypeFichierEnregistrements& Fichier, const void* Enregistrement);
// Moves to Indice x TailleEnregistrement bytes from Origine: 0 the start, 1 the current position,
// 2 the end (EStreamError when the file is not open).
void PositionnerEnregistrement(TypeFichierEnregistrements& Fichier, int32_t Origine, int32_t Indice);

// Start-up and shut-down: the crash log writes through these helpers while the unit runs.
void Initialiser();
void Finaliser();

}  // namespace FichierEnregistrements
