// The two routes of a request that deletes a selection of records of one file. Through the server
// the selection goes packed as identifiers and comes back as the records the server's answer lists;
// locally each record number is deleted in turn under a count-down wait window, and the records
// that were not deleted go back into the selection. Main thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "base/fichiers/FichierSup.h"
#include "core/records/Memoire.h"

namespace SuppressionSelection {

// Sends Code with the selection packed as identifiers (kind 1, with the wait shown) and an answer
// buffer of the same size, zero-filled. An accepted answer refills the selection with the records
// of the identifiers it lists, read within the buffer; a refused one leaves the selection as it
// was. The verdict.
bool EnvoyerSelection(TFichierSup& Fichier, uint32_t Code, TypeEnsembleMemoire& Selection);

// Copies and empties the selection, then runs Supprimer on each record number in increasing order
// (True: deleted) while a count-down wait window, shown for more than one record, counts them. A
// record number not deleted goes back into the selection when it still holds a record of Fichier,
// or always with RemettreAbsents. True when every record number was deleted.
bool SupprimerLocalement(TFichierSup& Fichier, TypeEnsembleMemoire& Selection,
                         const std::function<bool(uint32_t)>& Supprimer, bool RemettreAbsents);

}  // namespace SuppressionSelection
