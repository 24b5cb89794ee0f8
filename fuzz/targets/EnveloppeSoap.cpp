// The SOAP envelope reader. The input's first line is the SOAPAction, then, after a tab, the charset
// of the HTTP Content-Type when it gives one; the rest is the envelope. The
// port of the target has an operation for every kind of value; a request that decodes is answered
// as the dispatcher would answer it, in encoded and in literal use.
#include <string>

#include "fuzz/FuzzSupport.h"
#include "platform/soap/EnveloppeSoap.h"

namespace {

class TSvcWFuzz : public TInvokableClass {
 public:
  std::vector<uint32_t> Cles(std::vector<uint32_t> t, std::string) { return t; }
  std::vector<std::vector<std::string>> Lignes(std::vector<std::vector<std::string>> t) { return t; }
  double Date(double d, double dt, double r) { return d + dt + r; }
  int32_t Divers(int32_t i, bool b, uint16_t m, int32_t e) { return b ? i : static_cast<int32_t>(m) ^ e; }
};

struct Port {
  TRegistreTypesRemotables types;
  TRegistreInvocables encode, litteral;

  Port() {
    const std::string ns = "http://fuzz.invalid/types";
    RefTypeSoap cle = types.EnregistrerRestriction("TCle", ns, "unsignedInt");
    RefTypeSoap cles = types.EnregistrerTableau("ArrayOfTCle", ns, cle);
    RefTypeSoap chaines = types.EnregistrerTableau("ArrayOfstring", ns, types.Requis("string"));
    RefTypeSoap lignes = types.EnregistrerTableau("ArrayOfArrayOfstring", ns, chaines);
    RefTypeSoap choix = types.Enregistrer({"TChoix", ns, NatureSoap::Enumeration, nullptr, {"psUn", "psDeux"}, "NMTOKEN"});
    for (TRegistreInvocables* r : {&encode, &litteral}) {
      InterfaceInvocable i;
      i.Nom = "IFuzz";
      i.Namespace = "urn:Fuzz-PortFuzz";
      i.Options = r == &encode ? kOptionsSoapEncode : kOptionsSoapLitteral;
      i.Operations.push_back(OperationDe("Cles", &TSvcWFuzz::Cles, {{"ATableau", cles}, {"ATexte", types.Requis("string")}}, cles));
      i.Operations.push_back(OperationDe("Lignes", &TSvcWFuzz::Lignes, {{"ALignes", lignes}}, lignes));
      i.Operations.push_back(OperationDe("Date", &TSvcWFuzz::Date,
                                         {{"ADate", types.Requis("date")}, {"AMoment", types.Requis("dateTime")},
                                          {"AReel", types.Requis("double")}},
                                         types.Requis("dateTime")));
      i.Operations.push_back(OperationDe("Divers", &TSvcWFuzz::Divers,
                                         {{"AEntier", types.Requis("int")}, {"ABooleen", types.Requis("boolean")},
                                          {"AMot", types.Requis("unsignedShort")}, {"AChoix", choix}},
                                         types.Requis("int")));
      i.Fabrique = [] { return std::make_unique<TSvcWFuzz>(); };
      r->Enregistrer(std::move(i));
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
  static Port port;
  Fuzz::Demarrer();
  std::string_view entree(reinterpret_cast<const char*>(Data), Size);
  size_t ligne = entree.find('\n');
  std::string_view action = ligne == std::string_view::npos ? std::string_view() : entree.substr(0, ligne);
  std::string_view charset;
  if (size_t tab = action.find('\t'); tab != std::string_view::npos) {
    charset = action.substr(tab + 1);
    action = action.substr(0, tab);
  }
  std::string_view corps = ligne == std::string_view::npos ? entree : entree.substr(ligne + 1);
  for (const TRegistreInvocables* registre : {&port.encode, &port.litteral}) {
    try {
      RequeteSoap r = EnveloppeSoap::Decoder(corps, action, *registre, charset);
      TSvcWFuzz objet;
      ValeurSoap resultat = r.Operation->Appel(objet, r.Arguments);
      EnveloppeSoap::EncoderReponse(*r.Interface, *r.Operation, resultat);
    } catch (const EFauteClientSoap& e) {
      EnveloppeSoap::EncoderFaute("Client", e.Message());
    } catch (const ESoapError&) {
      // A value the answer cannot carry (a date out of range).
    }
  }
  return 0;
}
