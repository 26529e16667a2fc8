<?xml version="1.0" encoding="ISO-8859-1"?>
<TlXmlLicData>
  <Licenses>
    <LicPoolingIsEnabled>1</LicPoolingIsEnabled>
    <LicVPIMIsLicensed>0</LicVPIMIsLicensed>
    <LicSubscribers>500</LicSubscribers>
    <LicPorts>24</LicPorts>
  </Licenses>
  <Utilization>
    <LicSubscribersUsed>7</LicSubscribersUsed>
    <LicPortsUsed>24</LicPortsUsed>
  </Utilization>
</TlXmlLicData>
