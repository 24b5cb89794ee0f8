// The WSDL generated from the registry: its structure and names, the literal variant derived from
// it, and the host filled in per request.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "service/DocumentWsdl.h"
#include "service/SupSvcWImplementations.h"

namespace {

using SupSvcWImplementations::kNamespaceTypes;

size_t Compter(const std::string& s, const std::string& motif) {
  size_t n = 0;
  for (size_t p = s.find(motif); p != std::string::npos; p = s.find(motif, p + 1)) ++n;
  return n;
}

class TSvcWFaux : public TInvokableClass {
 public:
  uint32_t Premiere() { return 1; }
  std::vector<uint32_t> Trier(std::vector<uint32_t> t, double) { return t; }
};

// The registration of the service, plus a data port of its own so that the types section, the
// messages with parameters and the order of the two services show.
std::string WsdlAvecPortDeDonnees() {
  SupSvcWImplementations::EnregistrerServicesWeb("iso-8859-1", kOptionsSoapEncode);
  TRegistreTypesRemotables& types = RegistreTypesRemotables();
  types.Enregistrer({"TTzSvcWPlacementSeances", std::string(kNamespaceTypes), NatureSoap::Enumeration, nullptr,
                     {"psUn", "psDeux"}, "NMTOKEN"});
  RefTypeSoap cle = types.EnregistrerRestriction("TTzSvcWCleMatiere", kNamespaceTypes, "unsignedInt");
  RefTypeSoap cles = types.EnregistrerTableau("ArrayOfTTzSvcWCleMatiere", kNamespaceTypes, cle);
  InterfaceInvocable i;
  i.Nom = "ITzSvcWMatieres";
  i.Namespace = "urn:TzSvcWDonnees-PortMatieres";
  i.Operations.push_back(OperationDe("Premiere", &TSvcWFaux::Premiere, {}, cle));
  i.Operations.push_back(OperationDe("Trier", &TSvcWFaux::Trier,
                                     {{"ATableau", cles}, {"ADuree", types.Requis("TTzSvcWDuree")}}, cles));
  // Registered after the administration port, listed before it: the services come in the order in
  // which their first port was registered, so put the data port first.
  std::vector<InterfaceInvocable> existantes = RegistreInvocables().Interfaces();
  for (const auto& e : existantes) RegistreInvocables().Desenregistrer(e.Nom);
  RegistreInvocables().Enregistrer(std::move(i));
  for (auto& e : existantes) RegistreInvocables().Enregistrer(std::move(e));
  return DocumentWsdl::GenererWsdlEncode(RegistreInvocables(), types, kNamespaceTypes);
}

TEST(DocumentWsdl, NamesEveryRegisteredPortWithItsMessagesBindingsAndAddresses) {
  std::string wsdl = WsdlAvecPortDeDonnees();
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(wsdl.c_str())) << wsdl;
  pugi::xml_node def = doc.child("wsdl:definitions");
  EXPECT_STREQ(def.attribute("name").value(), "TzSvcWFR");
  EXPECT_STREQ(def.attribute("targetNamespace").value(), kNamespaceTypes.data());
  EXPECT_STREQ(def.attribute("xmlns:tz").value(), kNamespaceTypes.data());

  std::vector<std::string> types;
  for (pugi::xml_node t : def.child("wsdl:types").child("xsd:schema").children())
    if (t.attribute("name")) types.push_back(t.attribute("name").value());
  EXPECT_EQ(types, (std::vector<std::string>{"TTzSvcWCleMatiere", "TTzSvcWPlacementSeances", "ArrayOfTTzSvcWCleMatiere",
                                             "ArrayOfTTzSvcWDuree", "ArrayOfTTzSvcWSemaine", "ArrayOfstring",
                                             "ArrayOfunsignedInt", "ArrayOfdateTime"}));
  EXPECT_NE(wsdl.find("<xsd:attribute ref=\"soapenc:arrayType\" wsdl:arrayType=\"xsd:double[]\"/>"), std::string::npos);
  EXPECT_NE(wsdl.find("wsdl:arrayType=\"tz:TTzSvcWCleMatiere[]\""), std::string::npos);

  // Two messages per operation, named after it; parameters as parts, the result as "return".
  std::vector<std::string> messages;
  for (pugi::xml_node m : def.children("wsdl:message")) {
    std::string texte = m.attribute("name").value();
    for (pugi::xml_node p : m.children("wsdl:part"))
      texte += std::string(" ") + p.attribute("name").value() + ":" + p.attribute("type").value();
    messages.push_back(texte);
  }
  EXPECT_EQ(messages, (std::vector<std::string>{"RequetePremiere", "ReponsePremiere return:tz:TTzSvcWCleMatiere",
                                                "RequeteTrier ATableau:tz:ArrayOfTTzSvcWCleMatiere ADuree:xsd:double",
                                                "ReponseTrier return:tz:ArrayOfTTzSvcWCleMatiere", "RequeteVersion",
                                                "ReponseVersion return:xsd:string"}));

  pugi::xml_node binding = def.find_child_by_attribute("wsdl:binding", "name", "BindingAdmin");
  EXPECT_STREQ(binding.attribute("type").value(), "tz:ITzSvcWAdmin");
  EXPECT_STREQ(binding.child("soap:binding").attribute("style").value(), "rpc");
  pugi::xml_node op = binding.child("wsdl:operation");
  EXPECT_STREQ(op.child("soap:operation").attribute("soapAction").value(), "urn:TzSvcWAdmin-PortAdmin#Version");
  for (const char* sens : {"wsdl:input", "wsdl:output"}) {
    pugi::xml_node body = op.child(sens).child("soap:body");
    EXPECT_STREQ(body.attribute("use").value(), "encoded");
    EXPECT_STREQ(body.attribute("namespace").value(), "urn:TzSvcWAdmin-PortAdmin");
    EXPECT_STREQ(body.attribute("encodingStyle").value(), "http://schemas.xmlsoap.org/soap/encoding/");
  }
  EXPECT_STREQ(def.find_child_by_attribute("wsdl:portType", "name", "ITzSvcWMatieres")
                   .child("wsdl:operation").child("wsdl:input").attribute("message").value(),
               "tz:RequetePremiere");

  std::vector<std::string> ports;
  for (pugi::xml_node service : def.children("wsdl:service"))
    for (pugi::xml_node port : service.children("wsdl:port"))
      ports.push_back(std::string(service.attribute("name").value()) + " " + port.attribute("name").value() + " " +
                      port.attribute("binding").value() + " " + port.child("soap:address").attribute("location").value());
  EXPECT_EQ(ports, (std::vector<std::string>{
                       "TzSvcWDonnees PortMatieres tz:BindingMatieres http://{RequestHost}/Matieres",
                       "TzSvcWAdmin PortAdmin tz:BindingAdmin http://{RequestHost}/Admin"}));
}

TEST(DocumentWsdl, TheLiteralVariantDropsTheEncodingStyleAndKeepsRpc) {
  std::string encode = DocumentWsdl::PreparerDocument(WsdlAvecPortDeDonnees());
  EXPECT_EQ(encode.find("{DateCopyright}"), std::string::npos);
  std::string litteral = DocumentWsdl::DeriverWsdlLitteral(encode);
  EXPECT_EQ(litteral.find("encodingStyle"), std::string::npos);
  EXPECT_EQ(litteral.find("use=\"encoded\""), std::string::npos);
  // Two bodies per operation, three operations.
  EXPECT_EQ(Compter(litteral, "use=\"literal\""), 6u);
  EXPECT_EQ(Compter(encode, "use=\"encoded\""), 6u);
  EXPECT_EQ(Compter(litteral, "style=\"rpc\""), Compter(encode, "style=\"rpc\""));
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(litteral.c_str()));
  EXPECT_NE(litteral.find("<soap:body use=\"literal\" namespace=\"urn:TzSvcWAdmin-PortAdmin\"/>"), std::string::npos);
}

TEST(DocumentWsdl, TheRequestHostFillsEveryAddress) {
  std::string wsdl = DocumentWsdl::RemplacerRequestHost(WsdlAvecPortDeDonnees(), "ecole.example:8080");
  EXPECT_EQ(wsdl.find("{RequestHost}"), std::string::npos);
  EXPECT_NE(wsdl.find("location=\"http://ecole.example:8080/Matieres\""), std::string::npos);
  EXPECT_NE(wsdl.find("location=\"http://ecole.example:8080/Admin\""), std::string::npos);
}

}  // namespace
