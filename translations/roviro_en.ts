<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
  <context>
    <name>RoviroDazo</name>
    <message>
      <source>Info über RoviroDazo</source>
      <translation>About RoviroDazo</translation>
    </message>
    <message>
      <source>Version %1</source>
      <translation>Version %1</translation>
    </message>
    <message>
      <source>Einstellen von Rohrmotoren mit der Programmierbox ZodavaRoze.</source>
      <translation>Setting up tubular motors with the ZodavaRoze programming box.</translation>
    </message>
    <message>
      <source>Willkommen</source>
      <translation>Welcome</translation>
    </message>
    <message>
      <source>Bitte geben Sie einmalig Ihre Kontaktdaten ein. Sie werden in jede Parameterdatei übernommen.</source>
      <translation>Please enter your contact details once. They are copied into every parameter file.</translation>
    </message>
    <message>
      <source>Firma:</source>
      <translation>Company:</translation>
    </message>
    <message>
      <source>Straße:</source>
      <translation>Street:</translation>
    </message>
    <message>
      <source>Nr.:</source>
      <translation>No.:</translation>
    </message>
    <message>
      <source>PLZ:</source>
      <translation>Postcode:</translation>
    </message>
    <message>
      <source>Ort:</source>
      <translation>Town:</translation>
    </message>
    <message>
      <source>Land:</source>
      <translation>Country:</translation>
    </message>
    <message>
      <source>E-Mail:</source>
      <translation>E-mail:</translation>
    </message>
    <message>
      <source>Telefon:</source>
      <translation>Telephone:</translation>
    </message>
    <message>
      <source>Fax:</source>
      <translation>Fax:</translation>
    </message>
    <message>
      <source>Speichern</source>
      <translation>Save</translation>
    </message>
    <message>
      <source>Speichern ist möglich, sobald die Firma mindestens drei Zeichen hat.</source>
      <translation>Saving is possible as soon as the company has at least three characters.</translation>
    </message>
    <message>
      <source>Das Zeichen »%1« kann nicht gespeichert werden; bitte anders schreiben.</source>
      <translation>The character "%1" cannot be stored; please write it differently.</translation>
    </message>
    <message>
      <source>Die Kontaktdaten konnten nicht in %1 gespeichert werden. Esc schließt ohne zu speichern.</source>
      <translation>The contact details could not be saved in %1. Esc closes without saving.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 kann nicht geöffnet werden: Ihr Benutzer darf dieses Gerät nicht öffnen.</source>
      <translation>The programming box at %1 cannot be opened: your user is not allowed to open this device.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 kann nicht geöffnet werden: Ihr Benutzer "%2" darf dieses Gerät nicht öffnen.</source>
      <translation>The programming box at %1 cannot be opened: your user "%2" is not allowed to open this device.</translation>
    </message>
    <message>
      <source>BENUTZER</source>
      <translation>USER</translation>
    </message>
    <message>
      <source>Nehmen Sie den Benutzer in die Gruppe auf, der das Gerät gehört (ls -l %1 zeigt sie), meist "dialout":</source>
      <translation>Add the user to the group that owns the device (ls -l %1 shows it), usually "dialout":</translation>
    </message>
    <message>
      <source>Nehmen Sie den Benutzer in die Gruppe "%1" auf, der das Gerät gehört:</source>
      <translation>Add the user to the group "%1" that owns the device:</translation>
    </message>
    <message>
      <source>Melden Sie sich danach ab und wieder an und starten Sie das Programm neu.</source>
      <translation>Then log out and in again and restart the program.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 wird bereits von einem anderen Programm benutzt (einem zweiten Fenster dieses Programms oder roviro-cli).

Dieses Programm spricht die Box nicht an, solange das andere sie hält. Beenden Sie das andere Programm; die Box wird danach von selbst gefunden.</source>
      <translation>The programming box at %1 is already in use by another program (a second window of this program or roviro-cli).

This program does not talk to the box while the other one holds it. Close the other program; the box is then found by itself.</translation>
    </message>
    <message>
      <source>Fehler...</source>
      <translation>Error...</translation>
    </message>
    <message>
      <source>Lesen</source>
      <translation>Read</translation>
    </message>
    <message>
      <source>Schreiben</source>
      <translation>Write</translation>
    </message>
    <message>
      <source>Betriebsdaten</source>
      <translation>Operating data</translation>
    </message>
    <message>
      <source>Verlauf des Motors %1</source>
      <translation>History of motor %1</translation>
    </message>
    <message>
      <source>Zeit</source>
      <translation>Time</translation>
    </message>
    <message>
      <source>Station</source>
      <translation>Station</translation>
    </message>
    <message>
      <source>Monteur</source>
      <translation>Fitter</translation>
    </message>
    <message>
      <source>Was</source>
      <translation>What</translation>
    </message>
    <message>
      <source>Ergebnis</source>
      <translation>Result</translation>
    </message>
    <message>
      <source>Laufzeit</source>
      <translation>Running time</translation>
    </message>
    <message>
      <source> (mit Satz)</source>
      <translation> (with set)</translation>
    </message>
    <message>
      <source>Laufzeit (h)</source>
      <translation>Running time (h)</translation>
    </message>
    <message>
      <source>Zähler 1</source>
      <translation>Counter 1</translation>
    </message>
    <message>
      <source>Zähler 2</source>
      <translation>Counter 2</translation>
    </message>
    <message>
      <source>Besuch</source>
      <translation>Visit</translation>
    </message>
    <message>
      <source>Ereigniscodes: %1</source>
      <translation>Event codes: %1</translation>
    </message>
    <message>
      <source>keine</source>
      <translation>none</translation>
    </message>
    <message>
      <source>Satz laden</source>
      <translation>Load set</translation>
    </message>
    <message>
      <source>Schließen</source>
      <translation>Close</translation>
    </message>
    <message>
      <source>Warnung</source>
      <translation>Warning</translation>
    </message>
    <message>
      <source>Die Parameter in den Rohrmotor schreiben?

Motortyp: %1
Motorname: %2</source>
      <translation>Write the parameters into the tubular motor?

Motor type: %1
Motor name: %2</translation>
    </message>
    <message>
      <source>Den Rohrmotor auf Werkseinstellung zurücksetzen?
Seine jetzigen Einstellungen und Endlagen gehen verloren.</source>
      <translation>Reset the tubular motor to its factory settings?
Its present settings and end positions are lost.</translation>
    </message>
    <message>
      <source>Die Endlagen des Rohrmotors löschen?
Sie müssen danach neu eingestellt werden.</source>
      <translation>Clear the end positions of the tubular motor?
They must be set again afterwards.</translation>
    </message>
    <message>
      <source>Die bearbeiteten Parameter sind weder gespeichert noch in den Motor geschrieben.
Trotzdem ersetzen?</source>
      <translation>The parameters being worked on are neither saved nor written into the motor.
Replace them?</translation>
    </message>
    <message>
      <source>Abbrechen</source>
      <translation>Cancel</translation>
    </message>
    <message>
      <source>&amp;Ja</source>
      <translation>&amp;Yes</translation>
    </message>
    <message>
      <source>&amp;Nein</source>
      <translation>&amp;No</translation>
    </message>
    <message>
      <source>Minimieren</source>
      <translation>Minimise</translation>
    </message>
    <message>
      <source>Kontaktdaten...</source>
      <translation>Contact data...</translation>
    </message>
    <message>
      <source>Verlauf...</source>
      <translation>History...</translation>
    </message>
    <message>
      <source>Info über RoviroDazo...</source>
      <translation>About RoviroDazo...</translation>
    </message>
    <message>
      <source>Die Verbindung zum ZodavaRoze ist belegt; gelesen wird, sobald sie frei ist...</source>
      <translation>The connection to the ZodavaRoze is busy; reading starts as soon as it is free...</translation>
    </message>
    <message>
      <source>Die Betriebsdaten werden aus dem Rohrmotor gelesen...</source>
      <translation>Reading the operating data from the tubular motor...</translation>
    </message>
    <message>
      <source>Die Betriebsdaten konnten nicht gelesen werden: der Rohrmotor antwortet nicht.</source>
      <translation>The operating data could not be read: the tubular motor does not answer.</translation>
    </message>
    <message>
      <source>Download aus ZodavaRoze erfolgreich.
Kein Rohrmotor angeschlossen.</source>
      <translation>Download from ZodavaRoze successful.
No tubular motor connected.</translation>
    </message>
    <message>
      <source>Keine Parameter im ZodavaRoze vorhanden.</source>
      <translation>No parameters in the ZodavaRoze.</translation>
    </message>
    <message>
      <source>Unbekannter Motortyp</source>
      <translation>Unknown motor type</translation>
    </message>
    <message>
      <source>Standort-Nr. und Motor-Nr. sind beide 0: Sicherungen und Verlauf können diesen Motor nicht von anderen Motoren seines Typs mit 0/0 unterscheiden.</source>
      <translation>Site no. and motor no. are both 0: backups and history cannot tell this motor from other motors of its type with 0/0.</translation>
    </message>
    <message>
      <source>Upload in ZodavaRoze erfolgreich.
Kein Rohrmotor angeschlossen.</source>
      <translation>Upload into ZodavaRoze successful.
No tubular motor connected.</translation>
    </message>
    <message>
      <source>Ok...</source>
      <translation>Ok...</translation>
    </message>
    <message>
      <source>Die Einstellung konnte nicht gespeichert werden:
</source>
      <translation>The setting could not be saved:
</translation>
    </message>
    <message>
      <source>Es ist kein vollständiger Parametersatz vorhanden.
Wählen Sie auf der Seite "Daten laden" einen Motortyp, öffnen Sie eine Parameterdatei oder laden Sie die Parameter aus dem Rohrmotor.</source>
      <translation>There is no complete parameter set.
Choose a motor type on the page "Load data", open a parameter file or load the parameters from the tubular motor.</translation>
    </message>
    <message>
      <source>Fehlercode %1</source>
      <translation>Error code %1</translation>
    </message>
    <message>
      <source>Die Prüfung nach dem Upload hat %1 abweichende Bytes gefunden:</source>
      <translation>The check after the upload found %1 differing bytes:</translation>
    </message>
    <message>
      <source>%1 Block %2 Byte %3: geschrieben %4, gelesen %5</source>
      <translation>%1 block %2 byte %3: written %4, read %5</translation>
    </message>
    <message>
      <source>Box</source>
      <translation>Box</translation>
    </message>
    <message>
      <source>Motor</source>
      <translation>Motor</translation>
    </message>
    <message>
      <source>Der Upload konnte nicht zurückgelesen und geprüft werden.</source>
      <translation>The upload could not be read back and checked.</translation>
    </message>
    <message>
      <source>Motorstrom zu klein oder Motor läuft nicht</source>
      <translation>Motor current too low or motor not running</translation>
    </message>
    <message>
      <source>Motor hat Werkseinstellung  beendet.</source>
      <translation>Motor has finished the factory reset.</translation>
    </message>
    <message>
      <source>Der Katalog gibt für einen Wert dieser Seite keinen Bereich an.
Der gespeicherte Wert bleibt, wie er ist, solange Sie ihn nicht ändern.</source>
      <translation>The catalogue gives no range for a value on this page.
The stored value stays as it is as long as you do not change it.</translation>
    </message>
    <message>
      <source>FT-Fehler</source>
      <translation>FT error</translation>
    </message>
    <message>
      <source>Fehler bei FT_EE_Read</source>
      <translation>Error in FT_EE_Read</translation>
    </message>
    <message>
      <source>Fehler bei FT_GetComPortNumber</source>
      <translation>Error in FT_GetComPortNumber</translation>
    </message>
    <message>
      <source>Fehler bei FT_Close</source>
      <translation>Error in FT_Close</translation>
    </message>
    <message>
      <source>Fehler beim Zurücksetzen!
Bitte erneute ausführen.
State: %1</source>
      <translation>Error during the reset!
Please run it again.
State: %1</translation>
    </message>
    <message>
      <source>Error...</source>
      <translation>Error...</translation>
    </message>
    <message>
      <source>Fehlerhafte Maskierung</source>
      <translation>Faulty job mask</translation>
    </message>
    <message>
      <source>Falscher Thread gestartet</source>
      <translation>Wrong thread started</translation>
    </message>
    <message>
      <source>Motor konnte nicht beschrieben werden.
Kontaktieren Sie bitte den Trevanic Support.

Fehlercode %1</source>
      <translation>The motor could not be written.
Please contact Trevanic support.

Error code %1</translation>
    </message>
    <message>
      <source>Schwerer Ausnahmefehler...</source>
      <translation>Serious error...</translation>
    </message>
    <message>
      <source>Die automatische Sicherung konnte nicht geschrieben werden:
%1

Die Übertragung wird davon nicht beeinflusst. Weitere Fehler der Sicherung werden in diesem Lauf nicht mehr gemeldet.</source>
      <translation>The automatic backup could not be written:
%1

The transfer is not affected by this. Further backup errors are not reported again in this run.</translation>
    </message>
    <message>
      <source>Die Firmendatenbank hat das Schema %1, dieses Programm kennt nur bis %2. Sie wird nicht verändert; bitte das Programm aktualisieren.</source>
      <translation>The company database has schema %1; this program knows schemas up to %2 only. It is left unchanged; please update the program.</translation>
    </message>
    <message>
      <source>Die Firmendatenbank ist nicht erreichbar; der Verlauf bleibt lokal gespeichert und wird später übertragen (%1).</source>
      <translation>The company database cannot be reached; the history stays stored locally and is sent later (%1).</translation>
    </message>
    <message>
      <source>Der Abgleich mit der Firmendatenbank ist fehlgeschlagen; nichts geht verloren (%1).</source>
      <translation>Synchronising with the company database failed; nothing is lost (%1).</translation>
    </message>
    <message>
      <source>Fehler beim Laden</source>
      <translation>Error while loading</translation>
    </message>
    <message>
      <source>Kein Datenordner für den Verlauf.</source>
      <translation>No data folder for the history.</translation>
    </message>
    <message>
      <source>%1: ist keine lesbare Verlaufsdatenbank (%2)</source>
      <translation>%1: is not a readable history database (%2)</translation>
    </message>
    <message>
      <source>%1: Die Verlaufsdatenbank hat das Schema %2, dieses Programm kennt nur bis %3. Sie wird nicht verändert; bitte das Programm aktualisieren.</source>
      <translation>%1: The history database has schema %2; this program knows schemas up to %3 only. It is left unchanged; please update the program.</translation>
    </message>
    <message>
      <source>Der bisherige Verlauf konnte nicht in die Verlaufsdatenbank übernommen werden: %1</source>
      <translation>The earlier history could not be taken into the history database: %1</translation>
    </message>
    <message>
      <source>Der Besuch konnte nicht in die Verlaufsdatenbank geschrieben werden: %1</source>
      <translation>The visit could not be written into the history database: %1</translation>
    </message>
    <message>
      <source>GUID %1 falsch identifiziert!</source>
      <translation>GUID %1 wrongly identified!</translation>
    </message>
    <message>
      <source>GUID %1 falsch Länge!</source>
      <translation>GUID %1 wrong length!</translation>
    </message>
    <message>
      <source>Format GUID %1 "{" falsch!</source>
      <translation>Format of GUID %1 "{" wrong!</translation>
    </message>
    <message>
      <source>Format GUID %1 "}" falsch!</source>
      <translation>Format of GUID %1 "}" wrong!</translation>
    </message>
    <message>
      <source>Para falsch identifiziert!</source>
      <translation>Para wrongly identified!</translation>
    </message>
    <message>
      <source>%s
%s
Zeile: %1.1d
ChSee : %2.2X - erwartet: %2.2X
ChSmsg: %2.2X - erwartet: %2.2X</source>
      <translation>%s
%s
Line: %1.1d
ChSee : %2.2X - expected: %2.2X
ChSmsg: %2.2X - expected: %2.2X</translation>
    </message>
    <message>
      <source>Kontaktdaten, Motordaten und Einstellungen können nicht gespeichert werden.</source>
      <translation>Contact details, motor data and settings cannot be saved.</translation>
    </message>
    <message>
      <source>Kein Datenordner vorhanden (ProgramData ist nicht gesetzt).</source>
      <translation>No data folder (ProgramData is not set).</translation>
    </message>
    <message>
      <source>Kein Datenordner vorhanden (weder XDG_DATA_HOME noch HOME ist gesetzt).</source>
      <translation>No data folder (neither XDG_DATA_HOME nor HOME is set).</translation>
    </message>
    <message>
      <source>Der Datenordner %1 kann nicht angelegt werden.</source>
      <translation>The data folder %1 cannot be created.</translation>
    </message>
  </context>
</TS>
