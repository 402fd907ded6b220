<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="de">
  <context>
    <name>RoviroDazo</name>
    <message>
      <source>Info über RoviroDazo</source>
      <translation>À propos de RoviroDazo</translation>
    </message>
    <message>
      <source>Version %1</source>
      <translation>Version %1</translation>
    </message>
    <message>
      <source>Einstellen von Rohrmotoren mit der Programmierbox ZodavaRoze.</source>
      <translation>Réglage des moteurs tubulaires avec le boîtier de programmation ZodavaRoze.</translation>
    </message>
    <message>
      <source>Willkommen</source>
      <translation>Bienvenue</translation>
    </message>
    <message>
      <source>Bitte geben Sie einmalig Ihre Kontaktdaten ein. Sie werden in jede Parameterdatei übernommen.</source>
      <translation>Veuillez saisir une seule fois vos coordonnées. Elles sont reprises dans chaque fichier de paramètres.</translation>
    </message>
    <message>
      <source>Firma:</source>
      <translation>Société :</translation>
    </message>
    <message>
      <source>Straße:</source>
      <translation>Rue :</translation>
    </message>
    <message>
      <source>Nr.:</source>
      <translation>N° :</translation>
    </message>
    <message>
      <source>PLZ:</source>
      <translation>Code postal :</translation>
    </message>
    <message>
      <source>Ort:</source>
      <translation>Ville :</translation>
    </message>
    <message>
      <source>Land:</source>
      <translation>Pays :</translation>
    </message>
    <message>
      <source>E-Mail:</source>
      <translation>E-mail :</translation>
    </message>
    <message>
      <source>Telefon:</source>
      <translation>Téléphone :</translation>
    </message>
    <message>
      <source>Fax:</source>
      <translation>Fax :</translation>
    </message>
    <message>
      <source>Speichern</source>
      <translation>Enregistrer</translation>
    </message>
    <message>
      <source>Speichern ist möglich, sobald die Firma mindestens drei Zeichen hat.</source>
      <translation>L'enregistrement est possible dès que la société compte au moins trois caractères.</translation>
    </message>
    <message>
      <source>Das Zeichen »%1« kann nicht gespeichert werden; bitte anders schreiben.</source>
      <translation>Le caractère « %1 » ne peut pas être enregistré ; veuillez l'écrire autrement.</translation>
    </message>
    <message>
      <source>Die Kontaktdaten konnten nicht in %1 gespeichert werden. Esc schließt ohne zu speichern.</source>
      <translation>Les coordonnées n'ont pas pu être enregistrées dans %1. Échap ferme sans enregistrer.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 kann nicht geöffnet werden: Ihr Benutzer darf dieses Gerät nicht öffnen.</source>
      <translation>Le boîtier de programmation sur %1 ne peut pas être ouvert : votre utilisateur n'a pas le droit d'ouvrir ce périphérique.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 kann nicht geöffnet werden: Ihr Benutzer "%2" darf dieses Gerät nicht öffnen.</source>
      <translation>Le boîtier de programmation sur %1 ne peut pas être ouvert : votre utilisateur « %2 » n'a pas le droit d'ouvrir ce périphérique.</translation>
    </message>
    <message>
      <source>BENUTZER</source>
      <translation>UTILISATEUR</translation>
    </message>
    <message>
      <source>Nehmen Sie den Benutzer in die Gruppe auf, der das Gerät gehört (ls -l %1 zeigt sie), meist "dialout":</source>
      <translation>Ajoutez l'utilisateur au groupe propriétaire du périphérique (ls -l %1 l'affiche), généralement « dialout » :</translation>
    </message>
    <message>
      <source>Nehmen Sie den Benutzer in die Gruppe "%1" auf, der das Gerät gehört:</source>
      <translation>Ajoutez l'utilisateur au groupe « %1 », propriétaire du périphérique :</translation>
    </message>
    <message>
      <source>Melden Sie sich danach ab und wieder an und starten Sie das Programm neu.</source>
      <translation>Déconnectez-vous ensuite, reconnectez-vous et relancez le programme.</translation>
    </message>
    <message>
      <source>Die Programmierbox an %1 wird bereits von einem anderen Programm benutzt (einem zweiten Fenster dieses Programms oder roviro-cli).

Dieses Programm spricht die Box nicht an, solange das andere sie hält. Beenden Sie das andere Programm; die Box wird danach von selbst gefunden.</source>
      <translation>Le boîtier de programmation sur %1 est déjà utilisé par un autre programme (une deuxième fenêtre de ce programme ou roviro-cli).

Ce programme ne communique pas avec le boîtier tant que l'autre le détient. Fermez l'autre programme ; le boîtier sera ensuite détecté automatiquement.</translation>
    </message>
    <message>
      <source>Fehler...</source>
      <translation>Erreur...</translation>
    </message>
    <message>
      <source>Lesen</source>
      <translation>Lecture</translation>
    </message>
    <message>
      <source>Schreiben</source>
      <translation>Écriture</translation>
    </message>
    <message>
      <source>Betriebsdaten</source>
      <translation>Données de service</translation>
    </message>
    <message>
      <source>Verlauf des Motors %1</source>
      <translation>Historique du moteur %1</translation>
    </message>
    <message>
      <source>Zeit</source>
      <translation>Heure</translation>
    </message>
    <message>
      <source>Station</source>
      <translation>Poste</translation>
    </message>
    <message>
      <source>Monteur</source>
      <translation>Installateur</translation>
    </message>
    <message>
      <source>Was</source>
      <translation>Opération</translation>
    </message>
    <message>
      <source>Ergebnis</source>
      <translation>Résultat</translation>
    </message>
    <message>
      <source>Laufzeit</source>
      <translation>Durée de marche</translation>
    </message>
    <message>
      <source> (mit Satz)</source>
      <translation> (avec jeu)</translation>
    </message>
    <message>
      <source>Laufzeit (h)</source>
      <translation>Durée de marche (h)</translation>
    </message>
    <message>
      <source>Zähler 1</source>
      <translation>Compteur 1</translation>
    </message>
    <message>
      <source>Zähler 2</source>
      <translation>Compteur 2</translation>
    </message>
    <message>
      <source>Besuch</source>
      <translation>Intervention</translation>
    </message>
    <message>
      <source>Ereigniscodes: %1</source>
      <translation>Codes d'événement : %1</translation>
    </message>
    <message>
      <source>keine</source>
      <translation>aucun</translation>
    </message>
    <message>
      <source>Satz laden</source>
      <translation>Charger le jeu</translation>
    </message>
    <message>
      <source>Schließen</source>
      <translation>Fermer</translation>
    </message>
    <message>
      <source>Warnung</source>
      <translation>Avertissement</translation>
    </message>
    <message>
      <source>Die Parameter in den Rohrmotor schreiben?

Motortyp: %1
Motorname: %2</source>
      <translation>Écrire les paramètres dans le moteur tubulaire ?

Type de moteur : %1
Nom du moteur : %2</translation>
    </message>
    <message>
      <source>Den Rohrmotor auf Werkseinstellung zurücksetzen?
Seine jetzigen Einstellungen und Endlagen gehen verloren.</source>
      <translation>Remettre le moteur tubulaire en réglage d'usine ?
Ses réglages actuels et ses fins de course seront perdus.</translation>
    </message>
    <message>
      <source>Die Endlagen des Rohrmotors löschen?
Sie müssen danach neu eingestellt werden.</source>
      <translation>Effacer les fins de course du moteur tubulaire ?
Elles devront ensuite être réglées à nouveau.</translation>
    </message>
    <message>
      <source>Die bearbeiteten Parameter sind weder gespeichert noch in den Motor geschrieben.
Trotzdem ersetzen?</source>
      <translation>Les paramètres modifiés ne sont ni enregistrés ni écrits dans le moteur.
Les remplacer quand même ?</translation>
    </message>
    <message>
      <source>Abbrechen</source>
      <translation>Annuler</translation>
    </message>
    <message>
      <source>&amp;Ja</source>
      <translation>&amp;Oui</translation>
    </message>
    <message>
      <source>&amp;Nein</source>
      <translation>&amp;Non</translation>
    </message>
    <message>
      <source>Minimieren</source>
      <translation>Réduire</translation>
    </message>
    <message>
      <source>Kontaktdaten...</source>
      <translation>Coordonnées...</translation>
    </message>
    <message>
      <source>Verlauf...</source>
      <translation>Historique...</translation>
    </message>
    <message>
      <source>Info über RoviroDazo...</source>
      <translation>À propos de RoviroDazo...</translation>
    </message>
    <message>
      <source>Die Verbindung zum ZodavaRoze ist belegt; gelesen wird, sobald sie frei ist...</source>
      <translation>La liaison avec le ZodavaRoze est occupée ; la lecture commencera dès qu'elle sera libre...</translation>
    </message>
    <message>
      <source>Die Betriebsdaten werden aus dem Rohrmotor gelesen...</source>
      <translation>Lecture des données de fonctionnement du moteur tubulaire...</translation>
    </message>
    <message>
      <source>Die Betriebsdaten konnten nicht gelesen werden: der Rohrmotor antwortet nicht.</source>
      <translation>Les données de fonctionnement n'ont pas pu être lues : le moteur tubulaire ne répond pas.</translation>
    </message>
    <message>
      <source>Download aus ZodavaRoze erfolgreich.
Kein Rohrmotor angeschlossen.</source>
      <translation>Téléchargement depuis le ZodavaRoze réussi.
Aucun moteur tubulaire raccordé.</translation>
    </message>
    <message>
      <source>Keine Parameter im ZodavaRoze vorhanden.</source>
      <translation>Aucun paramètre dans le ZodavaRoze.</translation>
    </message>
    <message>
      <source>Unbekannter Motortyp</source>
      <translation>Type de moteur inconnu</translation>
    </message>
    <message>
      <source>Standort-Nr. und Motor-Nr. sind beide 0: Sicherungen und Verlauf können diesen Motor nicht von anderen Motoren seines Typs mit 0/0 unterscheiden.</source>
      <translation>N° de site et n° de moteur valent tous deux 0 : les sauvegardes et l'historique ne peuvent pas distinguer ce moteur des autres moteurs de son type en 0/0.</translation>
    </message>
    <message>
      <source>Upload in ZodavaRoze erfolgreich.
Kein Rohrmotor angeschlossen.</source>
      <translation>Transfert vers le ZodavaRoze réussi.
Aucun moteur tubulaire raccordé.</translation>
    </message>
    <message>
      <source>Ok...</source>
      <translation>OK...</translation>
    </message>
    <message>
      <source>Die Einstellung konnte nicht gespeichert werden:
</source>
      <translation>Le réglage n'a pas pu être enregistré :
</translation>
    </message>
    <message>
      <source>Es ist kein vollständiger Parametersatz vorhanden.
Wählen Sie auf der Seite "Daten laden" einen Motortyp, öffnen Sie eine Parameterdatei oder laden Sie die Parameter aus dem Rohrmotor.</source>
      <translation>Aucun jeu de paramètres complet n'est disponible.
Choisissez un type de moteur sur la page « Charger les données », ouvrez un fichier de paramètres ou chargez les paramètres depuis le moteur tubulaire.</translation>
    </message>
    <message>
      <source>Fehlercode %1</source>
      <translation>Code d'erreur %1</translation>
    </message>
    <message>
      <source>Die Prüfung nach dem Upload hat %1 abweichende Bytes gefunden:</source>
      <translation>La vérification après le transfert a trouvé %1 octets différents :</translation>
    </message>
    <message>
      <source>%1 Block %2 Byte %3: geschrieben %4, gelesen %5</source>
      <translation>%1 bloc %2 octet %3 : écrit %4, lu %5</translation>
    </message>
    <message>
      <source>Box</source>
      <translation>Boîtier</translation>
    </message>
    <message>
      <source>Motor</source>
      <translation>Moteur</translation>
    </message>
    <message>
      <source>Der Upload konnte nicht zurückgelesen und geprüft werden.</source>
      <translation>Le transfert n'a pas pu être relu et vérifié.</translation>
    </message>
    <message>
      <source>Motorstrom zu klein oder Motor läuft nicht</source>
      <translation>Courant moteur trop faible ou moteur à l'arrêt</translation>
    </message>
    <message>
      <source>Motor hat Werkseinstellung  beendet.</source>
      <translation>Le moteur a terminé la remise en réglage d'usine.</translation>
    </message>
    <message>
      <source>Der Katalog gibt für einen Wert dieser Seite keinen Bereich an.
Der gespeicherte Wert bleibt, wie er ist, solange Sie ihn nicht ändern.</source>
      <translation>Le catalogue n'indique aucune plage pour une valeur de cette page.
La valeur enregistrée reste inchangée tant que vous ne la modifiez pas.</translation>
    </message>
    <message>
      <source>FT-Fehler</source>
      <translation>Erreur FT</translation>
    </message>
    <message>
      <source>Fehler bei FT_EE_Read</source>
      <translation>Erreur lors de FT_EE_Read</translation>
    </message>
    <message>
      <source>Fehler bei FT_GetComPortNumber</source>
      <translation>Erreur lors de FT_GetComPortNumber</translation>
    </message>
    <message>
      <source>Fehler bei FT_Close</source>
      <translation>Erreur lors de FT_Close</translation>
    </message>
    <message>
      <source>Fehler beim Zurücksetzen!
Bitte erneute ausführen.
State: %1</source>
      <translation>Erreur lors de la réinitialisation !
Veuillez recommencer.
État : %1</translation>
    </message>
    <message>
      <source>Error...</source>
      <translation>Erreur...</translation>
    </message>
    <message>
      <source>Fehlerhafte Maskierung</source>
      <translation>Masque de tâches erroné</translation>
    </message>
    <message>
      <source>Falscher Thread gestartet</source>
      <translation>Mauvaise tâche démarrée</translation>
    </message>
    <message>
      <source>Motor konnte nicht beschrieben werden.
Kontaktieren Sie bitte den Trevanic Support.

Fehlercode %1</source>
      <translation>Le moteur n'a pas pu être programmé.
Veuillez contacter le support Trevanic.

Code d'erreur %1</translation>
    </message>
    <message>
      <source>Schwerer Ausnahmefehler...</source>
      <translation>Erreur grave...</translation>
    </message>
    <message>
      <source>Die automatische Sicherung konnte nicht geschrieben werden:
%1

Die Übertragung wird davon nicht beeinflusst. Weitere Fehler der Sicherung werden in diesem Lauf nicht mehr gemeldet.</source>
      <translation>La sauvegarde automatique n'a pas pu être écrite :
%1

Le transfert n'en est pas affecté. Les autres erreurs de sauvegarde ne seront plus signalées pendant cette session.</translation>
    </message>
    <message>
      <source>Die Firmendatenbank hat das Schema %1, dieses Programm kennt nur bis %2. Sie wird nicht verändert; bitte das Programm aktualisieren.</source>
      <translation>La base de données de l'entreprise a le schéma %1, ce programme ne connaît que jusqu'au %2. Elle n'est pas modifiée ; veuillez mettre le programme à jour.</translation>
    </message>
    <message>
      <source>Die Firmendatenbank ist nicht erreichbar; der Verlauf bleibt lokal gespeichert und wird später übertragen (%1).</source>
      <translation>La base de données de l'entreprise est injoignable ; l'historique reste enregistré localement et sera transmis plus tard (%1).</translation>
    </message>
    <message>
      <source>Der Abgleich mit der Firmendatenbank ist fehlgeschlagen; nichts geht verloren (%1).</source>
      <translation>La synchronisation avec la base de données de l'entreprise a échoué ; rien n'est perdu (%1).</translation>
    </message>
    <message>
      <source>Fehler beim Laden</source>
      <translation>Erreur lors du chargement</translation>
    </message>
    <message>
      <source>Kein Datenordner für den Verlauf.</source>
      <translation>Aucun dossier de données pour l'historique.</translation>
    </message>
    <message>
      <source>%1: ist keine lesbare Verlaufsdatenbank (%2)</source>
      <translation>%1 : n'est pas une base d'historique lisible (%2)</translation>
    </message>
    <message>
      <source>%1: Die Verlaufsdatenbank hat das Schema %2, dieses Programm kennt nur bis %3. Sie wird nicht verändert; bitte das Programm aktualisieren.</source>
      <translation>%1 : La base d'historique a le schéma %2, ce programme ne connaît que jusqu'au %3. Elle n'est pas modifiée ; veuillez mettre le programme à jour.</translation>
    </message>
    <message>
      <source>Der bisherige Verlauf konnte nicht in die Verlaufsdatenbank übernommen werden: %1</source>
      <translation>L'historique existant n'a pas pu être repris dans la base d'historique : %1</translation>
    </message>
    <message>
      <source>Der Besuch konnte nicht in die Verlaufsdatenbank geschrieben werden: %1</source>
      <translation>L'intervention n'a pas pu être écrite dans la base d'historique : %1</translation>
    </message>
    <message>
      <source>GUID %1 falsch identifiziert!</source>
      <translation>GUID %1 mal identifié !</translation>
    </message>
    <message>
      <source>GUID %1 falsch Länge!</source>
      <translation>GUID %1 longueur incorrecte !</translation>
    </message>
    <message>
      <source>Format GUID %1 "{" falsch!</source>
      <translation>Format GUID %1 « { » incorrect !</translation>
    </message>
    <message>
      <source>Format GUID %1 "}" falsch!</source>
      <translation>Format GUID %1 « } » incorrect !</translation>
    </message>
    <message>
      <source>Para falsch identifiziert!</source>
      <translation>Para mal identifié !</translation>
    </message>
    <message>
      <source>%s
%s
Zeile: %1.1d
ChSee : %2.2X - erwartet: %2.2X
ChSmsg: %2.2X - erwartet: %2.2X</source>
      <translation>%s
%s
Ligne : %1.1d
ChSee : %2.2X - attendu : %2.2X
ChSmsg : %2.2X - attendu : %2.2X</translation>
    </message>
    <message>
      <source>Kontaktdaten, Motordaten und Einstellungen können nicht gespeichert werden.</source>
      <translation>Les coordonnées, les données des moteurs et les réglages ne peuvent pas être enregistrés.</translation>
    </message>
    <message>
      <source>Kein Datenordner vorhanden (ProgramData ist nicht gesetzt).</source>
      <translation>Aucun dossier de données (ProgramData n'est pas défini).</translation>
    </message>
    <message>
      <source>Kein Datenordner vorhanden (weder XDG_DATA_HOME noch HOME ist gesetzt).</source>
      <translation>Aucun dossier de données (ni XDG_DATA_HOME ni HOME n'est défini).</translation>
    </message>
    <message>
      <source>Der Datenordner %1 kann nicht angelegt werden.</source>
      <translation>Le dossier de données %1 ne peut pas être créé.</translation>
    </message>
  </context>
</TS>
