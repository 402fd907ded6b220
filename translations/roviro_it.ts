<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it" sourcelanguage="de">
  <context>
    <name>RoviroDazo</name>
    <message>
      <source>Info über RoviroDazo</source>
      <translation>Informazioni su RoviroDazo</translation>
    </message>
    <message>
      <source>Version %1</source>
      <translation>Versione %1</translation>
    </message>
    <message>
      <source>Einstellen von Rohrmotoren mit der Programmierbox ZodavaRoze.</source>
      <translation>Regolazione dei motori tubolari con il box di programmazione ZodavaRoze.</translation>
    </message>
    <message>
      <source>Willkommen</source>
      <translation>Benvenuti</translation>
    </message>
    <message>
      <source>Bitte geben Sie einmalig Ihre Kontaktdaten ein. Sie werden in jede Parameterdatei übernommen.</source>
      <translation>Inserite una sola volta i vostri dati di contatto. Vengono riportati in ogni file di parametri.</translation>
    </message>
    <message>
      <source>Firma:</source>
      <translation>Ditta:</translation>
    </message>
    <message>
      <source>Straße:</source>
      <translation>Via:</translation>
    </message>
    <message>
      <source>Nr.:</source>
      <translation>N.:</translation>
    </message>
    <message>
      <source>PLZ:</source>
      <translation>CAP:</translation>
    </message>
    <message>
      <source>Ort:</source>
      <translation>Località:</translation>
    </message>
    <message>
      <source>Land:</source>
      <translation>Paese:</translation>
    </message>
    <message>
      <source>E-Mail:</source>
      <translation>E-mail:</translation>
    </message>
    <message>
      <source>Telefon:</source>
      <translation>Telefono:</translation>
    </message>
    <message>
      <source>Fax:</source>
      <translation>Fax:</translation>
    </message>
    <message>
      <source>Speichern</source>
      <translation>Salva</translation>
    </message>
    <message>
      <source>Speichern ist möglich, sobald die Firma mindestens drei Zeichen hat.</source>
      <translation>Il salvataggio è possibile non appena la ditta ha almeno tre caratteri.</translation>
    </message>
    <message>
      <source>Das Zeichen »%1« kann nicht gespeichert werden; bitte anders schreiben.</source>
      <translation>Il carattere «%1» non può essere salvato; scrivetelo in un altro modo.</translation>
    </message>
    <message>
      <source>Die Kontaktdaten konnten nicht in %1 gespeichert werden. Esc schließt ohne zu speichern.</source>
      <translation>Non è stato possibile salvare i dati di contatto in %1. Esc chiude senza salvare.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 kann nicht geöffnet werden: Ihr Benutzer darf dieses Gerät nicht öffnen.</source>
      <translation>Il box di programmazione su %1 non può essere aperto: il vostro utente non ha il permesso di aprire questo dispositivo.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 kann nicht geöffnet werden: Ihr Benutzer "%2" darf dieses Gerät nicht öffnen.</source>
      <translation>Il box di programmazione su %1 non può essere aperto: il vostro utente «%2» non ha il permesso di aprire questo dispositivo.</translation>
    </message>
    <message>
      <source>BENUTZER</source>
      <translation>UTENTE</translation>
    </message>
    <message>
      <source>Nehmen Sie den Benutzer in die Gruppe auf, der das Gerät gehört (ls -l %1 zeigt sie), meist "dialout":</source>
      <translation>Aggiungete l'utente al gruppo proprietario del dispositivo (ls -l %1 lo mostra), di solito «dialout»:</translation>
    </message>
    <message>
      <source>Nehmen Sie den Benutzer in die Gruppe "%1" auf, der das Gerät gehört:</source>
      <translation>Aggiungete l'utente al gruppo «%1», proprietario del dispositivo:</translation>
    </message>
    <message>
      <source>Melden Sie sich danach ab und wieder an und starten Sie das Programm neu.</source>
      <translation>Quindi uscite dalla sessione, rientrate e riavviate il programma.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 wird bereits von einem anderen Programm benutzt (einem zweiten Fenster dieses Programms oder roviro-cli).

Dieses Programm spricht die Box nicht an, solange das andere sie hält. Beenden Sie das andere Programm; die Box wird danach von selbst gefunden.</source>
      <translation>Il box di programmazione su %1 è già in uso da parte di un altro programma (una seconda finestra di questo programma o roviro-cli).

Questo programma non comunica con il box finché l'altro lo tiene occupato. Chiudete l'altro programma; il box verrà poi rilevato automaticamente.</translation>
    </message>
    <message>
      <source>Fehler...</source>
      <translation>Errore...</translation>
    </message>
    <message>
      <source>Lesen</source>
      <translation>Lettura</translation>
    </message>
    <message>
      <source>Schreiben</source>
      <translation>Scrittura</translation>
    </message>
    <message>
      <source>Betriebsdaten</source>
      <translation>Dati di esercizio</translation>
    </message>
    <message>
      <source>Verlauf des Motors %1</source>
      <translation>Cronologia del motore %1</translation>
    </message>
    <message>
      <source>Zeit</source>
      <translation>Ora</translation>
    </message>
    <message>
      <source>Station</source>
      <translation>Postazione</translation>
    </message>
    <message>
      <source>Monteur</source>
      <translation>Installatore</translation>
    </message>
    <message>
      <source>Was</source>
      <translation>Operazione</translation>
    </message>
    <message>
      <source>Ergebnis</source>
      <translation>Esito</translation>
    </message>
    <message>
      <source>Laufzeit</source>
      <translation>Tempo di funzionamento</translation>
    </message>
    <message>
      <source> (mit Satz)</source>
      <translation> (con set)</translation>
    </message>
    <message>
      <source>Laufzeit (h)</source>
      <translation>Tempo di funzionamento (h)</translation>
    </message>
    <message>
      <source>Zähler 1</source>
      <translation>Contatore 1</translation>
    </message>
    <message>
      <source>Zähler 2</source>
      <translation>Contatore 2</translation>
    </message>
    <message>
      <source>Besuch</source>
      <translation>Intervento</translation>
    </message>
    <message>
      <source>Ereigniscodes: %1</source>
      <translation>Codici evento: %1</translation>
    </message>
    <message>
      <source>keine</source>
      <translation>nessuno</translation>
    </message>
    <message>
      <source>Satz laden</source>
      <translation>Carica set</translation>
    </message>
    <message>
      <source>Schließen</source>
      <translation>Chiudi</translation>
    </message>
    <message>
      <source>Warnung</source>
      <translation>Avviso</translation>
    </message>
    <message>
      <source>Die Parameter in den Rohrmotor schreiben?

Motortyp: %1
Motorname: %2</source>
      <translation>Scrivere i parametri nel motore tubolare?

Tipo di motore: %1
Nome del motore: %2</translation>
    </message>
    <message>
      <source>Den Rohrmotor auf Werkseinstellung zurücksetzen?
Seine jetzigen Einstellungen und Endlagen gehen verloren.</source>
      <translation>Riportare il motore tubolare alle impostazioni di fabbrica?
Le impostazioni attuali e i finecorsa andranno persi.</translation>
    </message>
    <message>
      <source>Die Endlagen des Rohrmotors löschen?
Sie müssen danach neu eingestellt werden.</source>
      <translation>Cancellare i finecorsa del motore tubolare?
Dovranno poi essere regolati di nuovo.</translation>
    </message>
    <message>
      <source>Die bearbeiteten Parameter sind weder gespeichert noch in den Motor geschrieben.
Trotzdem ersetzen?</source>
      <translation>I parametri modificati non sono né salvati né scritti nel motore.
Sostituirli comunque?</translation>
    </message>
    <message>
      <source>Abbrechen</source>
      <translation>Annulla</translation>
    </message>
    <message>
      <source>&amp;Ja</source>
      <translation>&amp;Sì</translation>
    </message>
    <message>
      <source>&amp;Nein</source>
      <translation>&amp;No</translation>
    </message>
    <message>
      <source>Minimieren</source>
      <translation>Riduci a icona</translation>
    </message>
    <message>
      <source>Kontaktdaten...</source>
      <translation>Dati di contatto...</translation>
    </message>
    <message>
      <source>Verlauf...</source>
      <translation>Cronologia...</translation>
    </message>
    <message>
      <source>Info über RoviroDazo...</source>
      <translation>Informazioni su RoviroDazo...</translation>
    </message>
    <message>
      <source>Die Verbindung zum ZodavaRoze ist belegt; gelesen wird, sobald sie frei ist...</source>
      <translation>La connessione con lo ZodavaRoze è occupata; la lettura inizierà non appena sarà libera...</translation>
    </message>
    <message>
      <source>Die Betriebsdaten werden aus dem Rohrmotor gelesen...</source>
      <translation>Lettura dei dati di esercizio dal motore tubolare...</translation>
    </message>
    <message>
      <source>Die Betriebsdaten konnten nicht gelesen werden: der Rohrmotor antwortet nicht.</source>
      <translation>Non è stato possibile leggere i dati di esercizio: il motore tubolare non risponde.</translation>
    </message>
    <message>
      <source>Download aus ZodavaRoze erfolgreich.
Kein Rohrmotor angeschlossen.</source>
      <translation>Download dallo ZodavaRoze riuscito.
Nessun motore tubolare collegato.</translation>
    </message>
    <message>
      <source>Keine Parameter im ZodavaRoze vorhanden.</source>
      <translation>Nessun parametro presente nello ZodavaRoze.</translation>
    </message>
    <message>
      <source>Unbekannter Motortyp</source>
      <translation>Tipo di motore sconosciuto</translation>
    </message>
    <message>
      <source>Standort-Nr. und Motor-Nr. sind beide 0: Sicherungen und Verlauf können diesen Motor nicht von anderen Motoren seines Typs mit 0/0 unterscheiden.</source>
      <translation>N. sito e n. motore sono entrambi 0: backup e cronologia non possono distinguere questo motore dagli altri motori del suo tipo con 0/0.</translation>
    </message>
    <message>
      <source>Upload in ZodavaRoze erfolgreich.
Kein Rohrmotor angeschlossen.</source>
      <translation>Upload nello ZodavaRoze riuscito.
Nessun motore tubolare collegato.</translation>
    </message>
    <message>
      <source>Ok...</source>
      <translation>OK...</translation>
    </message>
    <message>
      <source>Die Einstellung konnte nicht gespeichert werden:
</source>
      <translation>Non è stato possibile salvare l'impostazione:
</translation>
    </message>
    <message>
      <source>Es ist kein vollständiger Parametersatz vorhanden.
Wählen Sie auf der Seite "Daten laden" einen Motortyp, öffnen Sie eine Parameterdatei oder laden Sie die Parameter aus dem Rohrmotor.</source>
      <translation>Non è disponibile un set di parametri completo.
Scegliete un tipo di motore nella pagina «Carica dati», aprite un file di parametri oppure caricate i parametri dal motore tubolare.</translation>
    </message>
    <message>
      <source>Fehlercode %1</source>
      <translation>Codice di errore %1</translation>
    </message>
    <message>
      <source>Die Prüfung nach dem Upload hat %1 abweichende Bytes gefunden:</source>
      <translation>La verifica dopo l'upload ha trovato %1 byte diversi:</translation>
    </message>
    <message>
      <source>%1 Block %2 Byte %3: geschrieben %4, gelesen %5</source>
      <translation>%1 blocco %2 byte %3: scritto %4, letto %5</translation>
    </message>
    <message>
      <source>Box</source>
      <translation>Box</translation>
    </message>
    <message>
      <source>Motor</source>
      <translation>Motore</translation>
    </message>
    <message>
      <source>Der Upload konnte nicht zurückgelesen und geprüft werden.</source>
      <translation>Non è stato possibile rileggere e verificare l'upload.</translation>
    </message>
    <message>
      <source>Motorstrom zu klein oder Motor läuft nicht</source>
      <translation>Corrente del motore troppo bassa o motore fermo</translation>
    </message>
    <message>
      <source>Motor hat Werkseinstellung  beendet.</source>
      <translation>Il motore ha completato il ripristino delle impostazioni di fabbrica.</translation>
    </message>
    <message>
      <source>Der Katalog gibt für einen Wert dieser Seite keinen Bereich an.
Der gespeicherte Wert bleibt, wie er ist, solange Sie ihn nicht ändern.</source>
      <translation>Il catalogo non indica alcun intervallo per un valore di questa pagina.
Il valore memorizzato resta invariato finché non lo modificate.</translation>
    </message>
    <message>
      <source>FT-Fehler</source>
      <translation>Errore FT</translation>
    </message>
    <message>
      <source>Fehler bei FT_EE_Read</source>
      <translation>Errore in FT_EE_Read</translation>
    </message>
    <message>
      <source>Fehler bei FT_GetComPortNumber</source>
      <translation>Errore in FT_GetComPortNumber</translation>
    </message>
    <message>
      <source>Fehler bei FT_Close</source>
      <translation>Errore in FT_Close</translation>
    </message>
    <message>
      <source>Fehler beim Zurücksetzen!
Bitte erneute ausführen.
State: %1</source>
      <translation>Errore durante il ripristino!
Ripetete l'operazione.
Stato: %1</translation>
    </message>
    <message>
      <source>Error...</source>
      <translation>Errore...</translation>
    </message>
    <message>
      <source>Fehlerhafte Maskierung</source>
      <translation>Maschera dei compiti errata</translation>
    </message>
    <message>
      <source>Falscher Thread gestartet</source>
      <translation>Avviato il thread sbagliato</translation>
    </message>
    <message>
      <source>Motor konnte nicht beschrieben werden.
Kontaktieren Sie bitte den Trevanic Support.

Fehlercode %1</source>
      <translation>Non è stato possibile scrivere nel motore.
Contattate l'assistenza Trevanic.

Codice di errore %1</translation>
    </message>
    <message>
      <source>Schwerer Ausnahmefehler...</source>
      <translation>Errore grave...</translation>
    </message>
    <message>
      <source>Die automatische Sicherung konnte nicht geschrieben werden:
%1

Die Übertragung wird davon nicht beeinflusst. Weitere Fehler der Sicherung werden in diesem Lauf nicht mehr gemeldet.</source>
      <translation>Non è stato possibile scrivere il backup automatico:
%1

Il trasferimento non ne è influenzato. Ulteriori errori del backup non verranno più segnalati in questa sessione.</translation>
    </message>
    <message>
      <source>Die Firmendatenbank hat das Schema %1, dieses Programm kennt nur bis %2. Sie wird nicht verändert; bitte das Programm aktualisieren.</source>
      <translation>Il database aziendale ha lo schema %1, questo programma conosce solo fino al %2. Non viene modificato; aggiornare il programma.</translation>
    </message>
    <message>
      <source>Die Firmendatenbank ist nicht erreichbar; der Verlauf bleibt lokal gespeichert und wird später übertragen (%1).</source>
      <translation>Il database aziendale non è raggiungibile; la cronologia resta salvata in locale e verrà trasmessa più tardi (%1).</translation>
    </message>
    <message>
      <source>Der Abgleich mit der Firmendatenbank ist fehlgeschlagen; nichts geht verloren (%1).</source>
      <translation>La sincronizzazione con il database aziendale non è riuscita; nulla va perso (%1).</translation>
    </message>
    <message>
      <source>Fehler beim Laden</source>
      <translation>Errore durante il caricamento</translation>
    </message>
    <message>
      <source>Kein Datenordner für den Verlauf.</source>
      <translation>Nessuna cartella dati per la cronologia.</translation>
    </message>
    <message>
      <source>%1: ist keine lesbare Verlaufsdatenbank (%2)</source>
      <translation>%1: non è un database di cronologia leggibile (%2)</translation>
    </message>
    <message>
      <source>%1: Die Verlaufsdatenbank hat das Schema %2, dieses Programm kennt nur bis %3. Sie wird nicht verändert; bitte das Programm aktualisieren.</source>
      <translation>%1: Il database di cronologia ha lo schema %2, questo programma conosce solo fino al %3. Non viene modificato; aggiornare il programma.</translation>
    </message>
    <message>
      <source>Der bisherige Verlauf konnte nicht in die Verlaufsdatenbank übernommen werden: %1</source>
      <translation>La cronologia precedente non è stata trasferita nel database di cronologia: %1</translation>
    </message>
    <message>
      <source>Der Besuch konnte nicht in die Verlaufsdatenbank geschrieben werden: %1</source>
      <translation>L'intervento non è stato scritto nel database di cronologia: %1</translation>
    </message>
    <message>
      <source>GUID %1 falsch identifiziert!</source>
      <translation>GUID %1 identificato in modo errato!</translation>
    </message>
    <message>
      <source>GUID %1 falsch Länge!</source>
      <translation>GUID %1 lunghezza errata!</translation>
    </message>
    <message>
      <source>Format GUID %1 "{" falsch!</source>
      <translation>Formato GUID %1 "{" errato!</translation>
    </message>
    <message>
      <source>Format GUID %1 "}" falsch!</source>
      <translation>Formato GUID %1 "}" errato!</translation>
    </message>
    <message>
      <source>Para falsch identifiziert!</source>
      <translation>Para identificato in modo errato!</translation>
    </message>
    <message>
      <source>%s
%s
Zeile: %1.1d
ChSee : %2.2X - erwartet: %2.2X
ChSmsg: %2.2X - erwartet: %2.2X</source>
      <translation>%s
%s
Riga: %1.1d
ChSee : %2.2X - atteso: %2.2X
ChSmsg: %2.2X - atteso: %2.2X</translation>
    </message>
    <message>
      <source>Kontaktdaten, Motordaten und Einstellungen können nicht gespeichert werden.</source>
      <translation>Non è possibile salvare dati di contatto, dati dei motori e impostazioni.</translation>
    </message>
    <message>
      <source>Kein Datenordner vorhanden (ProgramData ist nicht gesetzt).</source>
      <translation>Nessuna cartella dati (ProgramData non è impostato).</translation>
    </message>
    <message>
      <source>Kein Datenordner vorhanden (weder XDG_DATA_HOME noch HOME ist gesetzt).</source>
      <translation>Nessuna cartella dati (né XDG_DATA_HOME né HOME è impostato).</translation>
    </message>
    <message>
      <source>Der Datenordner %1 kann nicht angelegt werden.</source>
      <translation>Non è possibile creare la cartella dati %1.</translation>
    </message>
  </context>
</TS>
