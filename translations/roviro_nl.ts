<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nl" sourcelanguage="de">
  <context>
    <name>RoviroDazo</name>
    <message>
      <source>Info über RoviroDazo</source>
      <translation>Over RoviroDazo</translation>
    </message>
    <message>
      <source>Version %1</source>
      <translation>Versie %1</translation>
    </message>
    <message>
      <source>Einstellen von Rohrmotoren mit der Programmierbox ZodavaRoze.</source>
      <translation>Instellen van buismotoren met de programmeerbox ZodavaRoze.</translation>
    </message>
    <message>
      <source>Willkommen</source>
      <translation>Welkom</translation>
    </message>
    <message>
      <source>Bitte geben Sie einmalig Ihre Kontaktdaten ein. Sie werden in jede Parameterdatei übernommen.</source>
      <translation>Voer uw contactgegevens eenmalig in. Ze worden in elk parameterbestand overgenomen.</translation>
    </message>
    <message>
      <source>Firma:</source>
      <translation>Bedrijf:</translation>
    </message>
    <message>
      <source>Straße:</source>
      <translation>Straat:</translation>
    </message>
    <message>
      <source>Nr.:</source>
      <translation>Nr.:</translation>
    </message>
    <message>
      <source>PLZ:</source>
      <translation>Postcode:</translation>
    </message>
    <message>
      <source>Ort:</source>
      <translation>Plaats:</translation>
    </message>
    <message>
      <source>Land:</source>
      <translation>Land:</translation>
    </message>
    <message>
      <source>E-Mail:</source>
      <translation>E-mail:</translation>
    </message>
    <message>
      <source>Telefon:</source>
      <translation>Telefoon:</translation>
    </message>
    <message>
      <source>Fax:</source>
      <translation>Fax:</translation>
    </message>
    <message>
      <source>Speichern</source>
      <translation>Opslaan</translation>
    </message>
    <message>
      <source>Speichern ist möglich, sobald die Firma mindestens drei Zeichen hat.</source>
      <translation>Opslaan is mogelijk zodra de bedrijfsnaam minstens drie tekens heeft.</translation>
    </message>
    <message>
      <source>Das Zeichen »%1« kann nicht gespeichert werden; bitte anders schreiben.</source>
      <translation>Het teken "%1" kan niet worden opgeslagen; schrijf het anders.</translation>
    </message>
    <message>
      <source>Die Kontaktdaten konnten nicht in %1 gespeichert werden. Esc schließt ohne zu speichern.</source>
      <translation>De contactgegevens konden niet in %1 worden opgeslagen. Esc sluit zonder op te slaan.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 kann nicht geöffnet werden: Ihr Benutzer darf dieses Gerät nicht öffnen.</source>
      <translation>De programmeerbox op %1 kan niet worden geopend: uw gebruiker mag dit apparaat niet openen.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 kann nicht geöffnet werden: Ihr Benutzer "%2" darf dieses Gerät nicht öffnen.</source>
      <translation>De programmeerbox op %1 kan niet worden geopend: uw gebruiker "%2" mag dit apparaat niet openen.</translation>
    </message>
    <message>
      <source>BENUTZER</source>
      <translation>GEBRUIKER</translation>
    </message>
    <message>
      <source>Nehmen Sie den Benutzer in die Gruppe auf, der das Gerät gehört (ls -l %1 zeigt sie), meist "dialout":</source>
      <translation>Voeg de gebruiker toe aan de groep die eigenaar is van het apparaat (ls -l %1 toont die), meestal "dialout":</translation>
    </message>
    <message>
      <source>Nehmen Sie den Benutzer in die Gruppe "%1" auf, der das Gerät gehört:</source>
      <translation>Voeg de gebruiker toe aan de groep "%1", die eigenaar is van het apparaat:</translation>
    </message>
    <message>
      <source>Melden Sie sich danach ab und wieder an und starten Sie das Programm neu.</source>
      <translation>Meld u daarna af en weer aan en start het programma opnieuw.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 wird bereits von einem anderen Programm benutzt (einem zweiten Fenster dieses Programms oder roviro-cli).

Dieses Programm spricht die Box nicht an, solange das andere sie hält. Beenden Sie das andere Programm; die Box wird danach von selbst gefunden.</source>
      <translation>De programmeerbox op %1 wordt al door een ander programma gebruikt (een tweede venster van dit programma of roviro-cli).

Dit programma spreekt de box niet aan zolang het andere programma hem vasthoudt. Sluit het andere programma; de box wordt daarna vanzelf gevonden.</translation>
    </message>
    <message>
      <source>Fehler...</source>
      <translation>Fout...</translation>
    </message>
    <message>
      <source>Lesen</source>
      <translation>Uitlezen</translation>
    </message>
    <message>
      <source>Schreiben</source>
      <translation>Schrijven</translation>
    </message>
    <message>
      <source>Betriebsdaten</source>
      <translation>Bedrijfsgegevens</translation>
    </message>
    <message>
      <source>Verlauf des Motors %1</source>
      <translation>Historie van motor %1</translation>
    </message>
    <message>
      <source>Zeit</source>
      <translation>Tijd</translation>
    </message>
    <message>
      <source>Station</source>
      <translation>Station</translation>
    </message>
    <message>
      <source>Monteur</source>
      <translation>Monteur</translation>
    </message>
    <message>
      <source>Was</source>
      <translation>Handeling</translation>
    </message>
    <message>
      <source>Ergebnis</source>
      <translation>Resultaat</translation>
    </message>
    <message>
      <source>Laufzeit</source>
      <translation>Looptijd</translation>
    </message>
    <message>
      <source> (mit Satz)</source>
      <translation> (met set)</translation>
    </message>
    <message>
      <source>Laufzeit (h)</source>
      <translation>Looptijd (h)</translation>
    </message>
    <message>
      <source>Zähler 1</source>
      <translation>Teller 1</translation>
    </message>
    <message>
      <source>Zähler 2</source>
      <translation>Teller 2</translation>
    </message>
    <message>
      <source>Besuch</source>
      <translation>Bezoek</translation>
    </message>
    <message>
      <source>Ereigniscodes: %1</source>
      <translation>Gebeurteniscodes: %1</translation>
    </message>
    <message>
      <source>keine</source>
      <translation>geen</translation>
    </message>
    <message>
      <source>Satz laden</source>
      <translation>Set laden</translation>
    </message>
    <message>
      <source>Schließen</source>
      <translation>Sluiten</translation>
    </message>
    <message>
      <source>Warnung</source>
      <translation>Waarschuwing</translation>
    </message>
    <message>
      <source>Die Parameter in den Rohrmotor schreiben?

Motortyp: %1
Motorname: %2</source>
      <translation>De parameters in de buismotor schrijven?

Motortype: %1
Motornaam: %2</translation>
    </message>
    <message>
      <source>Den Rohrmotor auf Werkseinstellung zurücksetzen?
Seine jetzigen Einstellungen und Endlagen gehen verloren.</source>
      <translation>De buismotor terugzetten naar de fabrieksinstellingen?
De huidige instellingen en eindafstellingen gaan verloren.</translation>
    </message>
    <message>
      <source>Die Endlagen des Rohrmotors löschen?
Sie müssen danach neu eingestellt werden.</source>
      <translation>De eindafstellingen van de buismotor wissen?
Ze moeten daarna opnieuw worden ingesteld.</translation>
    </message>
    <message>
      <source>Die bearbeiteten Parameter sind weder gespeichert noch in den Motor geschrieben.
Trotzdem ersetzen?</source>
      <translation>De bewerkte parameters zijn niet opgeslagen en niet in de motor geschreven.
Toch vervangen?</translation>
    </message>
    <message>
      <source>Abbrechen</source>
      <translation>Annuleren</translation>
    </message>
    <message>
      <source>&amp;Ja</source>
      <translation>&amp;Ja</translation>
    </message>
    <message>
      <source>&amp;Nein</source>
      <translation>&amp;Nee</translation>
    </message>
    <message>
      <source>Minimieren</source>
      <translation>Minimaliseren</translation>
    </message>
    <message>
      <source>Kontaktdaten...</source>
      <translation>Contactgegevens...</translation>
    </message>
    <message>
      <source>Verlauf...</source>
      <translation>Historie...</translation>
    </message>
    <message>
      <source>Info über RoviroDazo...</source>
      <translation>Over RoviroDazo...</translation>
    </message>
    <message>
      <source>Die Verbindung zum ZodavaRoze ist belegt; gelesen wird, sobald sie frei ist...</source>
      <translation>De verbinding met de ZodavaRoze is bezet; er wordt gelezen zodra ze vrij is...</translation>
    </message>
    <message>
      <source>Die Betriebsdaten werden aus dem Rohrmotor gelesen...</source>
      <translation>De bedrijfsgegevens worden uit de buismotor gelezen...</translation>
    </message>
    <message>
      <source>Die Betriebsdaten konnten nicht gelesen werden: der Rohrmotor antwortet nicht.</source>
      <translation>De bedrijfsgegevens konden niet worden gelezen: de buismotor antwoordt niet.</translation>
    </message>
    <message>
      <source>Download aus ZodavaRoze erfolgreich.
Kein Rohrmotor angeschlossen.</source>
      <translation>Download uit ZodavaRoze geslaagd.
Geen buismotor aangesloten.</translation>
    </message>
    <message>
      <source>Keine Parameter im ZodavaRoze vorhanden.</source>
      <translation>Geen parameters in de ZodavaRoze aanwezig.</translation>
    </message>
    <message>
      <source>Unbekannter Motortyp</source>
      <translation>Onbekend motortype</translation>
    </message>
    <message>
      <source>Standort-Nr. und Motor-Nr. sind beide 0: Sicherungen und Verlauf können diesen Motor nicht von anderen Motoren seines Typs mit 0/0 unterscheiden.</source>
      <translation>Locatienr. en motornr. zijn beide 0: back-ups en historie kunnen deze motor niet onderscheiden van andere motoren van zijn type met 0/0.</translation>
    </message>
    <message>
      <source>Upload in ZodavaRoze erfolgreich.
Kein Rohrmotor angeschlossen.</source>
      <translation>Upload naar ZodavaRoze geslaagd.
Geen buismotor aangesloten.</translation>
    </message>
    <message>
      <source>Ok...</source>
      <translation>OK...</translation>
    </message>
    <message>
      <source>Die Einstellung konnte nicht gespeichert werden:
</source>
      <translation>De instelling kon niet worden opgeslagen:
</translation>
    </message>
    <message>
      <source>Es ist kein vollständiger Parametersatz vorhanden.
Wählen Sie auf der Seite "Daten laden" einen Motortyp, öffnen Sie eine Parameterdatei oder laden Sie die Parameter aus dem Rohrmotor.</source>
      <translation>Er is geen volledige parameterset aanwezig.
Kies op de pagina "Gegevens laden" een motortype, open een parameterbestand of laad de parameters uit de buismotor.</translation>
    </message>
    <message>
      <source>Fehlercode %1</source>
      <translation>Foutcode %1</translation>
    </message>
    <message>
      <source>Die Prüfung nach dem Upload hat %1 abweichende Bytes gefunden:</source>
      <translation>De controle na de upload heeft %1 afwijkende bytes gevonden:</translation>
    </message>
    <message>
      <source>%1 Block %2 Byte %3: geschrieben %4, gelesen %5</source>
      <translation>%1 blok %2 byte %3: geschreven %4, gelezen %5</translation>
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
      <translation>De upload kon niet worden teruggelezen en gecontroleerd.</translation>
    </message>
    <message>
      <source>Motorstrom zu klein oder Motor läuft nicht</source>
      <translation>Motorstroom te laag of motor draait niet</translation>
    </message>
    <message>
      <source>Motor hat Werkseinstellung  beendet.</source>
      <translation>Motor heeft het terugzetten naar de fabrieksinstellingen voltooid.</translation>
    </message>
    <message>
      <source>Der Katalog gibt für einen Wert dieser Seite keinen Bereich an.
Der gespeicherte Wert bleibt, wie er ist, solange Sie ihn nicht ändern.</source>
      <translation>De catalogus geeft voor een waarde op deze pagina geen bereik aan.
De opgeslagen waarde blijft zoals ze is zolang u ze niet wijzigt.</translation>
    </message>
    <message>
      <source>FT-Fehler</source>
      <translation>FT-fout</translation>
    </message>
    <message>
      <source>Fehler bei FT_EE_Read</source>
      <translation>Fout bij FT_EE_Read</translation>
    </message>
    <message>
      <source>Fehler bei FT_GetComPortNumber</source>
      <translation>Fout bij FT_GetComPortNumber</translation>
    </message>
    <message>
      <source>Fehler bei FT_Close</source>
      <translation>Fout bij FT_Close</translation>
    </message>
    <message>
      <source>Fehler beim Zurücksetzen!
Bitte erneute ausführen.
State: %1</source>
      <translation>Fout bij het terugzetten!
Voer het opnieuw uit.
Status: %1</translation>
    </message>
    <message>
      <source>Error...</source>
      <translation>Fout...</translation>
    </message>
    <message>
      <source>Fehlerhafte Maskierung</source>
      <translation>Foutief taakmasker</translation>
    </message>
    <message>
      <source>Falscher Thread gestartet</source>
      <translation>Verkeerde thread gestart</translation>
    </message>
    <message>
      <source>Motor konnte nicht beschrieben werden.
Kontaktieren Sie bitte den Trevanic Support.

Fehlercode %1</source>
      <translation>De motor kon niet worden beschreven.
Neem contact op met de Trevanic-support.

Foutcode %1</translation>
    </message>
    <message>
      <source>Schwerer Ausnahmefehler...</source>
      <translation>Ernstige fout...</translation>
    </message>
    <message>
      <source>Die automatische Sicherung konnte nicht geschrieben werden:
%1

Die Übertragung wird davon nicht beeinflusst. Weitere Fehler der Sicherung werden in diesem Lauf nicht mehr gemeldet.</source>
      <translation>De automatische back-up kon niet worden geschreven:
%1

De overdracht wordt daardoor niet beïnvloed. Verdere back-upfouten worden in deze sessie niet meer gemeld.</translation>
    </message>
    <message>
      <source>Die Firmendatenbank hat das Schema %1, dieses Programm kennt nur bis %2. Sie wird nicht verändert; bitte das Programm aktualisieren.</source>
      <translation>De bedrijfsdatabase heeft schema %1, dit programma kent alleen tot %2. Ze wordt niet gewijzigd; werk het programma bij.</translation>
    </message>
    <message>
      <source>Die Firmendatenbank ist nicht erreichbar; der Verlauf bleibt lokal gespeichert und wird später übertragen (%1).</source>
      <translation>De bedrijfsdatabase is niet bereikbaar; de historie blijft lokaal opgeslagen en wordt later verzonden (%1).</translation>
    </message>
    <message>
      <source>Der Abgleich mit der Firmendatenbank ist fehlgeschlagen; nichts geht verloren (%1).</source>
      <translation>De synchronisatie met de bedrijfsdatabase is mislukt; er gaat niets verloren (%1).</translation>
    </message>
    <message>
      <source>Fehler beim Laden</source>
      <translation>Fout bij het laden</translation>
    </message>
    <message>
      <source>Kein Datenordner für den Verlauf.</source>
      <translation>Geen gegevensmap voor de historie.</translation>
    </message>
    <message>
      <source>%1: ist keine lesbare Verlaufsdatenbank (%2)</source>
      <translation>%1: is geen leesbare historiedatabase (%2)</translation>
    </message>
    <message>
      <source>%1: Die Verlaufsdatenbank hat das Schema %2, dieses Programm kennt nur bis %3. Sie wird nicht verändert; bitte das Programm aktualisieren.</source>
      <translation>%1: De historiedatabase heeft schema %2, dit programma kent alleen tot %3. Ze wordt niet gewijzigd; werk het programma bij.</translation>
    </message>
    <message>
      <source>Der bisherige Verlauf konnte nicht in die Verlaufsdatenbank übernommen werden: %1</source>
      <translation>De eerdere historie kon niet in de historiedatabase worden overgenomen: %1</translation>
    </message>
    <message>
      <source>Der Besuch konnte nicht in die Verlaufsdatenbank geschrieben werden: %1</source>
      <translation>Het bezoek kon niet in de historiedatabase worden geschreven: %1</translation>
    </message>
    <message>
      <source>GUID %1 falsch identifiziert!</source>
      <translation>GUID %1 verkeerd geïdentificeerd!</translation>
    </message>
    <message>
      <source>GUID %1 falsch Länge!</source>
      <translation>GUID %1 verkeerde lengte!</translation>
    </message>
    <message>
      <source>Format GUID %1 "{" falsch!</source>
      <translation>Formaat GUID %1 "{" fout!</translation>
    </message>
    <message>
      <source>Format GUID %1 "}" falsch!</source>
      <translation>Formaat GUID %1 "}" fout!</translation>
    </message>
    <message>
      <source>Para falsch identifiziert!</source>
      <translation>Para verkeerd geïdentificeerd!</translation>
    </message>
    <message>
      <source>%s
%s
Zeile: %1.1d
ChSee : %2.2X - erwartet: %2.2X
ChSmsg: %2.2X - erwartet: %2.2X</source>
      <translation>%s
%s
Regel: %1.1d
ChSee : %2.2X - verwacht: %2.2X
ChSmsg: %2.2X - verwacht: %2.2X</translation>
    </message>
    <message>
      <source>Kontaktdaten, Motordaten und Einstellungen können nicht gespeichert werden.</source>
      <translation>Contactgegevens, motorgegevens en instellingen kunnen niet worden opgeslagen.</translation>
    </message>
    <message>
      <source>Kein Datenordner vorhanden (ProgramData ist nicht gesetzt).</source>
      <translation>Geen gegevensmap aanwezig (ProgramData is niet ingesteld).</translation>
    </message>
    <message>
      <source>Kein Datenordner vorhanden (weder XDG_DATA_HOME noch HOME ist gesetzt).</source>
      <translation>Geen gegevensmap aanwezig (XDG_DATA_HOME noch HOME is ingesteld).</translation>
    </message>
    <message>
      <source>Der Datenordner %1 kann nicht angelegt werden.</source>
      <translation>De gegevensmap %1 kan niet worden aangemaakt.</translation>
    </message>
  </context>
</TS>
