// The SOAP runtime end to end: an envelope in, the operation called with decoded arguments, the
// answer or the fault out. A small port of its own exercises every kind of value.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/soap/EnveloppeSoap.h"
#include "platform/soap/InvocateurSoap.h"

namespace {

constexpr const char* kNsTypes = "http://essai.invalid/types";
constexpr const char* kNsPort = "urn:Essai-PortEssai";

class TSvcWEssai : public TInvokableClass {
 public:
  std::string Echo(std::string s) { return s; }
  uint32_t Somme(std::vector<uint32_t> t) {
    uint32_t r = 0;
    for (uint32_t v : t) r += v;
    return r;
  }
  std::vector<uint32_t> Doubler(std::vector<uint32_t> t) {
    for (uint32_t& v : t) v *= 2;
    return t;
  }
  double Lendemain(double d) { return d + 1; }
  int32_t Signe(int32_t i, bool inverse) { return inverse ? -i : i; }
  std::string Refuser(std::string s) { throw ERemotableException(s); }
  std::vector<std::string> Mots(std::vector<std::vector<std::string>> t) {
    std::vector<std::string> r;
    for (auto& l : t)
      for (auto& m : l) r.push_back(m);
    return r;
  }
  void Rien() {}
};

struct PortEssai {
  TRegistreTypesRemotables types;
  TRegistreInvocables registre;

  explicit PortEssai(uint16_t options) {
    RefTypeSoap cle = types.EnregistrerRestriction("TEssaiCle", kNsTypes, "unsignedInt");
    RefTypeSoap cles = types.EnregistrerTableau("ArrayOfTEssaiCle", kNsTypes, cle);
    RefTypeSoap entiers = types.EnregistrerTableau("ArrayOfunsignedInt", kNsTypes, types.Requis("unsignedInt"));
    RefTypeSoap chaines = types.EnregistrerTableau("ArrayOfstring", kNsTypes, types.Requis("string"));
    RefTypeSoap lignes = types.EnregistrerTableau("ArrayOfArrayOfstring", kNsTypes, chaines);
    RefTypeSoap chaine = types.Requis("string");
    InterfaceInvocable i;
    i.Nom = "IEssai";
    i.Namespace = kNsPort;
    i.Encodage = "iso-8859-1";
    i.Options = options;
    i.Operations.push_back(OperationDe("Echo", &TSvcWEssai::Echo, {{"ATexte", chaine}}, chaine));
    i.Operations.push_back(OperationDe("Somme", &TSvcWEssai::Somme, {{"ATableau", entiers}}, types.Requis("unsignedInt")));
    i.Operations.push_back(OperationDe("Doubler", &TSvcWEssai::Doubler, {{"ATableau", cles}}, cles));
    i.Operations.push_back(
        OperationDe("Lendemain", &TSvcWEssai::Lendemain, {{"ADate", types.Requis("date")}}, types.Requis("date")));
    i.Operations.push_back(OperationDe("Signe", &TSvcWEssai::Signe,
                                       {{"AEntier", types.Requis("int")}, {"AInverse", types.Requis("boolean")}},
                                       types.Requis("int")));
    i.Operations.push_back(OperationDe("Refuser", &TSvcWEssai::Refuser, {{"ATexte", chaine}}, chaine));
    i.Operations.push_back(OperationDe("Mots", &TSvcWEssai::Mots, {{"ALignes", lignes}}, chaines));
    i.Operations.push_back(OperationDe("Rien", &TSvcWEssai::Rien, {}, nullptr));
    i.NomClasse = "TSvcWEssai";
    i.Fabrique = [] { return std::make_unique<TSvcWEssai>(); };
    registre.Enregistrer(std::move(i));
  }

  std::string Appeler(const std::string& operation, const std::string& corps,
                      const std::string& declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>") const {
    std::string requete = declaration +
                          "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                          "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                          "xmlns:enc=\"http://schemas.xmlsoap.org/soap/encoding/\"><soap:Body>"
                          "<ns:" + operation + " xmlns:ns=\"" + kNsPort + "\">" + corps + "</ns:" + operation +
                          "></soap:Body></soap:Envelope>";
    std::string reponse;
    TInvocateurSoap(registre).Dispatcher("/soap", std::string("\"") + kNsPort + "#" + operation + "\"", requete,
                                         reponse);
    return reponse;
  }
};

std::string Retour(const std::string& reponse) {
  size_t debut = reponse.find("<return");
  size_t fin = reponse.find("</return>");
  if (debut == std::string::npos || fin == std::string::npos) return "no return in: " + reponse;
  return reponse.substr(debut, fin + 9 - debut);
}

TEST(InvocateurSoap, DecodesEveryKindOfArgumentAndEncodesTheAnswerWithItsType) {
  PortEssai port(kOptionsSoapEncode);
  struct Cas {
    const char* operation;
    const char* corps;
    const char* retour;
  } cas[] = {
      {"Echo", "<ATexte xsi:type=\"xsd:string\">a &amp; b</ATexte>", "<return xsi:type=\"xsd:string\">a &amp; b</return>"},
      {"Echo", "<ATexte xsi:nil=\"true\"/>", "<return xsi:type=\"xsd:string\"></return>"},
      {"Echo", "<ATexte><![CDATA[<x>]]></ATexte>", "<return xsi:type=\"xsd:string\">&lt;x&gt;</return>"},
      {"Somme", "<ATableau enc:arrayType=\"xsd:unsignedInt[3]\"><a>1</a><b>2</b><c> 4294967290 </c></ATableau>",
       "<return xsi:type=\"xsd:unsignedInt\">4294967293</return>"},
      {"Somme", "<ATableau/>", "<return xsi:type=\"xsd:unsignedInt\">0</return>"},
      {"Doubler", "<ATableau><item>7</item><item>+9</item></ATableau>",
       "<return xsi:type=\"NS2:ArrayOfTEssaiCle\" SOAP-ENC:arrayType=\"NS2:TEssaiCle[2]\" "
       "xmlns:NS2=\"http://essai.invalid/types\"><item>14</item><item>18</item></return>"},
      {"Lendemain", "<ADate>2007-02-28</ADate>", "<return xsi:type=\"xsd:date\">2007-03-01</return>"},
      {"Lendemain", "<ADate>2008-02-28Z</ADate>", "<return xsi:type=\"xsd:date\">2008-02-29</return>"},
      {"Signe", "<AInverse>false</AInverse><AEntier>-2147483648</AEntier>",
       "<return xsi:type=\"xsd:int\">-2147483648</return>"},
      {"Signe", "<AEntier>12</AEntier><AInverse>1</AInverse>", "<return xsi:type=\"xsd:int\">-12</return>"},
      {"Mots", "<ALignes><l><m>a</m><m>b</m></l><l/><l><m>c</m></l></ALignes>",
       "<return xsi:type=\"NS2:ArrayOfstring\" SOAP-ENC:arrayType=\"xsd:string[3]\" "
       "xmlns:NS2=\"http://essai.invalid/types\"><item>a</item><item>b</item><item>c</item></return>"},
  };
  for (const auto& c : cas) EXPECT_EQ(Retour(port.Appeler(c.operation, c.corps)), c.retour) << c.corps;
}

TEST(InvocateurSoap, FollowsMultiReferenceValuesAnywhereInTheBody) {
  PortEssai port(kOptionsSoapEncode);
  std::string requete =
      "<E:Envelope xmlns:E=\"http://schemas.xmlsoap.org/soap/envelope/\"><E:Body>"
      "<n:Somme xmlns:n=\"urn:Essai-PortEssai\"><ATableau href=\"#t\"/></n:Somme>"
      "<multiRef id=\"t\"><v href=\"#a\"/><v>5</v></multiRef><multiRef id=\"a\">30</multiRef>"
      "</E:Body></E:Envelope>";
  std::string reponse;
  TInvocateurSoap(port.registre).Dispatcher("/soap", "", requete, reponse);
  EXPECT_EQ(Retour(reponse), "<return xsi:type=\"xsd:unsignedInt\">35</return>");
}

TEST(InvocateurSoap, LiteralUseAnswersWithoutTypesAndAProcedureWithAnEmptyResponse) {
  PortEssai port(kOptionsSoapLitteral);
  std::string r = port.Appeler("Doubler", "<ATableau><item>1</item></ATableau>");
  EXPECT_EQ(Retour(r), "<return><item>2</item></return>");
  EXPECT_EQ(r.find("encodingStyle"), std::string::npos);
  EXPECT_NE(port.Appeler("Rien", "").find("<NS1:RienResponse xmlns:NS1=\"urn:Essai-PortEssai\"></NS1:RienResponse>"),
            std::string::npos);
}

TEST(InvocateurSoap, TextsTravelAsIso88591WithReferencesForOtherCharacters) {
  PortEssai port(kOptionsSoapEncode);
  // UTF-8 in: "é" and the euro sign reach the operation as 1252 bytes and leave as Latin-1 and a
  // numeric reference.
  std::string r = port.Appeler("Echo", "<ATexte>\xC3\xA9\xE2\x82\xAC\xE2\x98\x83</ATexte>");
  EXPECT_EQ(Retour(r), "<return xsi:type=\"xsd:string\">\xE9&#8364;?</return>");
  EXPECT_TRUE(r.starts_with("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"));
  // Latin-1 in, as the declaration says.
  r = port.Appeler("Echo", "<ATexte>\xE9t\xE9</ATexte>", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
  EXPECT_EQ(Retour(r), "<return xsi:type=\"xsd:string\">\xE9t\xE9</return>");
}

TEST(InvocateurSoap, ARefusalBecomesAServerFaultWithItsMessageEscaped) {
  PortEssai port(kOptionsSoapEncode);
  std::string r = port.Appeler("Refuser", "<ATexte>cl\xC3\xA9 &lt;7&gt; &amp; 8&#13;\nserveur</ATexte>");
  EXPECT_NE(r.find("<faultcode>SOAP-ENV:Server</faultcode><faultstring>cl\xE9 &lt;7&gt; &amp; 8&#13;\nserveur"
                   "</faultstring>"),
            std::string::npos)
      << r;
}

TEST(InvocateurSoap, RequestsTheCallerGotWrongAreClientFaultsWithAClearText) {
  PortEssai port(kOptionsSoapEncode);
  auto faute = [&](const std::string& action, const std::string& requete) {
    std::string reponse;
    TInvocateurSoap(port.registre).Dispatcher("/soap", action, requete, reponse);
    if (reponse.find("<faultcode>SOAP-ENV:Client</faultcode>") == std::string::npos) return "not a fault: " + reponse;
    size_t d = reponse.find("<faultstring>") + 13;
    return reponse.substr(d, reponse.find("</faultstring>") - d);
  };
  const std::string env = "<E:Envelope xmlns:E=\"http://schemas.xmlsoap.org/soap/envelope/\"><E:Body>";
  const std::string fin = "</E:Body></E:Envelope>";
  const std::string echo = "urn:Essai-PortEssai#Echo";
  auto appel = [&](const std::string& op, const std::string& corps) {
    return env + "<n:" + op + " xmlns:n=\"urn:Essai-PortEssai\">" + corps + "</n:" + op + ">" + fin;
  };
  std::string profond = "<ALignes>";
  for (int i = 0; i < 40; ++i) profond += "<a>";
  for (int i = 0; i < 40; ++i) profond += "</a>";
  profond += "</ALignes>";
  struct Cas {
    std::string action, requete, texte;
  } cas[] = {
      {echo, "<E:Envelope", "Malformed XML"},
      {echo, "", "Malformed XML"},
      {echo, "<?xml version=\"1.0\" encoding=\"UTF-16\"?><x/>", "Unsupported encoding: utf-16"},
      {echo,
       "<!DOCTYPE E [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>" + appel("Echo", "<ATexte>&b;</ATexte>"),
       "A document type declaration is not allowed"},
      {echo, "<Envelope><Body/></Envelope>", "not a SOAP 1.1 envelope"},
      {echo, env + fin, "The Body holds no call"},
      {"urn:Autre-PortAutre#Echo", appel("Echo", "<ATexte/>"), "No port is registered for the namespace urn:Autre-PortAutre"},
      {"urn:Essai-PortEssai#Inconnue", appel("Inconnue", ""), "The port IEssai has no operation Inconnue"},
      {"urn:Essai-PortEssai", appel("Echo", "<ATexte/>"), "SOAP action without an operation"},
      {echo, appel("Somme", "<ATexte/>"), "The Body calls Somme but the SOAP action names Echo"},
      {echo, appel("Echo", "<ATexte/><AAutre/>"), "Unknown parameter AAutre of operation Echo"},
      {echo, appel("Echo", "<ATexte/><ATexte/>"), "Parameter ATexte given twice"},
      {echo, appel("Echo", ""), "Missing parameter ATexte of operation Echo"},
      {echo, appel("Echo", "<ATexte><b>x</b></ATexte>"), "An element where a string was expected"},
      {"urn:Essai-PortEssai#Somme", appel("Somme", "<ATableau><i>12a</i></ATableau>"), "\"12a\" is not a unsignedInt"},
      {"urn:Essai-PortEssai#Somme", appel("Somme", "<ATableau><i>-1</i></ATableau>"), "\"-1\" is not a unsignedInt"},
      {"urn:Essai-PortEssai#Somme", appel("Somme", "<ATableau><i>4294967296</i></ATableau>"), "is not a unsignedInt"},
      {"urn:Essai-PortEssai#Somme", appel("Somme", "<ATableau>12</ATableau>"), "Text where an array of unsignedInt"},
      {"urn:Essai-PortEssai#Somme", appel("Somme", "<ATableau href=\"#x\"/>"), "Unknown reference #x"},
      {"urn:Essai-PortEssai#Somme", appel("Somme", "<ATableau href=\"#x\" id=\"x\"/>"), "References loop"},
      {"urn:Essai-PortEssai#Lendemain", appel("Lendemain", "<ADate>2007-02-29</ADate>"), "is not a date"},
      {"urn:Essai-PortEssai#Signe", appel("Signe", "<AEntier>1</AEntier><AInverse>oui</AInverse>"), "is not a boolean"},
      {"urn:Essai-PortEssai#Signe", appel("Signe", "<AEntier xsi:nil=\"1\" xmlns:xsi=\"x\"/><AInverse>1</AInverse>"),
       "A nil value is not a int"},
      {"urn:Essai-PortEssai#Mots", appel("Mots", profond), "An element where a string was expected"},
  };
  for (const auto& c : cas) {
    std::string texte = faute(c.action, c.requete);
    EXPECT_NE(texte.find(c.texte), std::string::npos) << texte;
  }
}

TEST(InvocateurSoap, AnotherVersionAndAHeaderNotUnderstoodHaveTheirOwnFaultCodes) {
  PortEssai port(kOptionsSoapEncode);
  const std::string corps = "<E:Body><n:Echo xmlns:n=\"urn:Essai-PortEssai\"><ATexte/></n:Echo></E:Body></E:Envelope>";
  struct Cas {
    std::string requete, code, texte;
  } cas[] = {
      {"<E:Envelope xmlns:E=\"http://www.w3.org/2003/05/soap-envelope\">" + corps, "VersionMismatch",
       "The envelope is of another SOAP version (http://www.w3.org/2003/05/soap-envelope)"},
      {"<E:Envelope xmlns:E=\"urn:autre\">" + corps, "VersionMismatch", "another SOAP version"},
      {"<E:Envelope xmlns:E=\"http://schemas.xmlsoap.org/soap/envelope/\"><E:Header><h E:mustUnderstand=\"1\"/>"
       "</E:Header>" + corps, "MustUnderstand", "Header not understood: h"},
      // A header that need not be understood is ignored.
      {"<E:Envelope xmlns:E=\"http://schemas.xmlsoap.org/soap/envelope/\"><E:Header><h E:mustUnderstand=\"0\"/>"
       "</E:Header>" + corps, "", "<return xsi:type=\"xsd:string\"></return>"},
      {"<Envelope><Body/></Envelope>", "Client", "not a SOAP 1.1 envelope"},
  };
  for (const auto& c : cas) {
    std::string reponse;
    TInvocateurSoap(port.registre).Dispatcher("/soap", "urn:Essai-PortEssai#Echo", c.requete, reponse);
    if (!c.code.empty()) {
      EXPECT_NE(reponse.find("<faultcode>SOAP-ENV:" + c.code + "</faultcode>"), std::string::npos) << reponse;
    }
    EXPECT_NE(reponse.find(c.texte), std::string::npos) << reponse;
  }
}

TEST(InvocateurSoap, SharedReferencesNeverBuildMoreThanTheRequestHolds) {
  PortEssai port(kOptionsSoapEncode);
  const std::string debut =
      "<E:Envelope xmlns:E=\"http://schemas.xmlsoap.org/soap/envelope/\"><E:Body>"
      "<n:Mots xmlns:n=\"urn:Essai-PortEssai\"><ALignes>";
  // 900 lines that are all the same line of 100 references to the same text of 1000 characters:
  // about 16 KB that would build 90 MB of texts.
  std::string bombe = debut;
  for (int i = 0; i < 900; ++i) bombe += "<l href=\"#l\"/>";
  bombe += "</ALignes></n:Mots><multiRef id=\"l\">";
  for (int i = 0; i < 100; ++i) bombe += "<m href=\"#m\"/>";
  bombe += "</multiRef><multiRef id=\"m\">" + std::string(1000, 'x') + "</multiRef></E:Body></E:Envelope>";
  ASSERT_LT(bombe.size(), 17000u);
  const auto avant = std::chrono::steady_clock::now();
  std::string reponse;
  TInvocateurSoap(port.registre).Dispatcher("/soap", "urn:Essai-PortEssai#Mots", bombe, reponse);
  EXPECT_NE(reponse.find("<faultcode>SOAP-ENV:Client</faultcode><faultstring>The references of the request expand "
                         "beyond its size in parameter ALignes</faultstring>"),
            std::string::npos)
      << reponse.substr(0, 300);
  EXPECT_LT(std::chrono::steady_clock::now() - avant, std::chrono::seconds(1));

  // An ordinary multi-reference array, a shared value included, still decodes.
  const std::string ordinaire = debut + "<l href=\"#a\"/><l href=\"#b\"/><l href=\"#a\"/></ALignes></n:Mots>"
                                "<multiRef id=\"a\"><m>un</m><m href=\"#t\"/></multiRef><multiRef id=\"b\"><m href=\"#t\"/>"
                                "</multiRef><multiRef id=\"t\">deux</multiRef></E:Body></E:Envelope>";
  TInvocateurSoap(port.registre).Dispatcher("/soap", "urn:Essai-PortEssai#Mots", ordinaire, reponse);
  EXPECT_NE(reponse.find("><item>un</item><item>deux</item><item>deux</item><item>un</item><item>deux</item></return>"),
            std::string::npos)
      << reponse;
}

TEST(InvocateurSoap, AnAnswerThatCannotBeWrittenLeavesTheDispatcherAsAnError) {
  PortEssai port(kOptionsSoapEncode);
  EXPECT_NE(Retour(port.Appeler("Lendemain", "<ADate>9999-12-30</ADate>")).find(">9999-12-31<"), std::string::npos);
  EXPECT_THROW(port.Appeler("Lendemain", "<ADate>9999-12-31</ADate>"), ESoapError);
}

TEST(InvocateurSoap, AnOperationWhoseTypesDoNotFitItsFunctionIsRefusedAtRegistration) {
  TRegistreTypesRemotables types;
  EXPECT_THROW(OperationDe("Echo", &TSvcWEssai::Echo, {{"ATexte", types.Requis("int")}}, types.Requis("string")),
               ESoapError);
  EXPECT_THROW(OperationDe("Echo", &TSvcWEssai::Echo, {}, types.Requis("string")), ESoapError);
  EXPECT_THROW(OperationDe("Rien", &TSvcWEssai::Rien, {}, types.Requis("string")), ESoapError);
}

}  // namespace
