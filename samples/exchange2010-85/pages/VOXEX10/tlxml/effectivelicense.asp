

  	
<?xml version="1.0" encoding="ISO-8859-1"?>
<TlXmlLicData>
  <Licenses>
    <LicMaxMsgRecLenIsLicensed>1</LicMaxMsgRecLenIsLicensed>
    <LicPoolingIsEnabled>2</LicPoolingIsEnabled>
    <LicSubscribers>1500</LicSubscribers>
    <LicPorts>72</LicPorts>
    <LicLanguages>3</LicLanguages>
  </Licenses>
  <Utilization>
    <LicSubscribers>1204</LicSubscribers>
    <LicPortsUsed>64</LicPortsUsed>
    <LicAMISIsLicensed>1</LicAMISIsLicensed>
  </Utilization>
</TlXmlLicData>
