// ODBC access to the configuration database.
