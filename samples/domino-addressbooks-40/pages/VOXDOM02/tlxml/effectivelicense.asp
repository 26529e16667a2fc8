<?xml version="1.0" encoding="ISO-8859-1"?>
<TlXmlLicData>
  <Licenses>
    <LicMaxMsgRecLenIsLicensed>1</LicMaxMsgRecLenIsLicensed>
    <LicPoolingIsEnabled>1</LicPoolingIsEnabled>
    <LicVPIMIsLicensed>1</LicVPIMIsLicensed>
    <LicAMISIsLicensed>1</LicAMISIsLicensed>
    <LicSecondaryServerIsLicensed>1</LicSecondaryServerIsLicensed>
    <LicSubscribers>250</LicSubscribers>
  </Licenses>
  <Utilization>
    <!-- counted at 02:00 -->
    <LicSubscribersUsed>97</LicSubscribersUsed>
  </Utilization>
</TlXmlLicData>
