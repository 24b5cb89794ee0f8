"""Calls the administration port's Version through the served WSDL (literal use) with zeep and
HTTP Basic credentials. Usage: python3 version_zeep.py PORT

The WSDL's arrays restrict the SOAP-encoding array, whose schema zeep loads from its namespace
address. The tests run offline, so the transport's cache holds a small stand-in for that schema
(the array type and its arrayType attribute, all that the WSDL refers to)."""
import sys

from requests import Session
from requests.auth import HTTPBasicAuth
from zeep import Client
from zeep.cache import InMemoryCache
from zeep.transports import Transport

SOAP_ENCODING = "http://schemas.xmlsoap.org/soap/encoding/"
SCHEMA_ENCODAGE = f"""<?xml version="1.0"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:tns="{SOAP_ENCODING}"
           targetNamespace="{SOAP_ENCODING}">
  <xs:attribute name="arrayType" type="xs:string"/>
  <xs:attribute name="offset" type="xs:string"/>
  <xs:complexType name="Array">
    <xs:sequence>
      <xs:any minOccurs="0" maxOccurs="unbounded" processContents="lax"/>
    </xs:sequence>
    <xs:attribute ref="tns:arrayType"/>
    <xs:attribute ref="tns:offset"/>
    <xs:anyAttribute namespace="##other" processContents="lax"/>
  </xs:complexType>
</xs:schema>""".encode()

cache = InMemoryCache()
cache.add(SOAP_ENCODING, SCHEMA_ENCODAGE)
session = Session()
session.auth = HTTPBasicAuth("ABC", "secret")
client = Client(f"http://127.0.0.1:{sys.argv[1]}/wsdl", transport=Transport(session=session, cache=cache))
sys.stdout.write(client.service.Version())
