<?php
// Calls the administration port's Version through the served WSDL (encoded use) with PHP's
// SoapClient and HTTP Basic credentials. Usage: php version.php PORT
$client = new SoapClient("http://127.0.0.1:" . $argv[1] . "/wsdl", [
    'login' => 'ABC',
    'password' => 'secret',
    'cache_wsdl' => WSDL_CACHE_NONE,
    'exceptions' => true,
]);
echo $client->Version();
