' TelCfgRpt.vbs: the switch report of a Voxtra server.
' Reads the phone-system integrations below
' HKLM\Software\Tessaline\MIU\1.0\initialization\integrations (their
' DisplayName and IntegrationID) and writes SwitchReport.html and
' switchlog.txt into the current folder. Reads the registry only.
' Argument: a file holding the output of "reg query" of that key (media.bat
' makes it), from which the subkeys are taken in the registry's order.
Option Explicit

Const ROOT = "Software\Tessaline\MIU\1.0\initialization\integrations"

Dim fso, shell, log, names, i, html
Set fso = CreateObject("Scripting.FileSystemObject")
Set shell = CreateObject("WScript.Shell")
Set log = fso.CreateTextFile("switchlog.txt", True, False)

names = IntegrationNames()
html = "<html>" & vbCrLf & "<head><title>Switch Report</title></head>" & vbCrLf & "<body>" & vbCrLf & _
       "<h1>Switch integrations</h1>" & vbCrLf & "<table border=""1"">" & vbCrLf & _
       "<tr><th>Key</th><th>DisplayName</th><th>IntegrationID</th></tr>" & vbCrLf
For i = 0 To UBound(names)
  html = html & "<tr><td>" & HtmlText(names(i)) & "</td><td>" & _
         HtmlText(ReadValue(names(i), "DisplayName", "")) & "</td><td>" & _
         ReadValue(names(i), "IntegrationID", 0) & "</td></tr>" & vbCrLf
Next
html = html & "</table>" & vbCrLf & "</body>" & vbCrLf & "</html>" & vbCrLf

Dim page
Set page = fso.CreateTextFile("SwitchReport.html", True, False)
page.Write html
page.Close
log.WriteLine "TelCfgRpt: " & (UBound(names) + 1) & " integration(s) under HKLM\" & ROOT
log.WriteLine "TelCfgRpt: wrote SwitchReport.html"
log.Close

' The subkeys of the integrations key, in the registry's order, from the
' "reg query" listing named on the command line; an empty list without it.
Function IntegrationNames()
  Dim result, listing, line, prefix, rest
  result = Array()
  prefix = LCase("HKEY_LOCAL_MACHINE\" & ROOT & "\")
  If WScript.Arguments.Count > 0 Then
    If fso.FileExists(WScript.Arguments(0)) Then
      Set listing = fso.OpenTextFile(WScript.Arguments(0), 1, False)
      Do While Not listing.AtEndOfStream
        line = Trim(listing.ReadLine())
        If LCase(Left(line, Len(prefix))) = prefix Then
          rest = Mid(line, Len(prefix) + 1)
          If Len(rest) > 0 And InStr(rest, "\") = 0 Then
            ReDim Preserve result(UBound(result) + 1)
            result(UBound(result)) = rest
          End If
        End If
      Loop
      listing.Close
    End If
  End If
  IntegrationNames = result
End Function

' A value of one integration, or the fallback when it is missing.
Function ReadValue(integration, valueName, fallback)
  Dim value
  On Error Resume Next
  value = shell.RegRead("HKLM\" & ROOT & "\" & integration & "\" & valueName)
  If Err.Number <> 0 Then value = fallback
  On Error GoTo 0
  ReadValue = value
End Function

Function HtmlText(text)
  HtmlText = Replace(Replace(Replace(Replace(text, "&", "&amp;"), "<", "&lt;"), ">", "&gt;"), """", "&quot;")
End Function
