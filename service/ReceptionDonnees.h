// What the web service does with what its data client receives from the data server: the whole
// base (stream 0) is imported into the record files, the base marked loaded and the user
// information (stream 1) asked for and read; every modification order goes to the table registry;
// the server's brackets around a request reach the record files' hooks; a request that asks for
// it shows the wait window while it waits. Main thread only.
#pragma once

class TIeClientDonnees;
class TAttenteReponseServeur;

namespace ReceptionDonnees {

// Wires the client's events and makes it the global data client.
void Lier(TIeClientDonnees& Client);
// The wait window while a request that asked for it waits; nil otherwise.
TAttenteReponseServeur* FenetreAttente();

}  // namespace ReceptionDonnees
