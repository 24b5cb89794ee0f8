#include "platform/soap/InvocateurSoap.h"

#include "platform/soap/EnveloppeSoap.h"

void TInvocateurSoap::Dispatcher(std::string_view, std::string_view actionSoap, std::string_view requete,
                                 std::string& reponse, std::string_view charsetHttp) const {
  RequeteSoap r;
  try {
    r = EnveloppeSoap::Decoder(requete, actionSoap, registre_, charsetHttp);
  } catch (const EFauteClientSoap& e) {
    reponse = EnveloppeSoap::EncoderFaute(e.Code(), e.Message());
    return;
  }
  if (!r.Interface->Fabrique) {
    reponse = EnveloppeSoap::EncoderFaute("Server", "No implementation class is registered for " + r.Interface->Nom);
    return;
  }
  try {
    std::unique_ptr<TInvokableClass> objet = r.Interface->Fabrique();
    ValeurSoap resultat = r.Operation->Appel(*objet, r.Arguments);
    reponse = EnveloppeSoap::EncoderReponse(*r.Interface, *r.Operation, resultat);
  } catch (const ERemotableException& e) {
    reponse = EnveloppeSoap::EncoderFaute("Server", e.Message());
  }
}
