<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>TAboutBox</name>
    <message>
        <source>About Wirevane</source>
        <translation>Über Wirevane</translation>
    </message>
    <message>
        <source>Program icon</source>
        <translation>Programmsymbol</translation>
    </message>
    <message>
        <source>Welcome to my home page</source>
        <translation>Willkommen auf meiner Homepage</translation>
    </message>
    <message>
        <source>Home page link; Enter or Space opens it</source>
        <translation>Link zur Homepage; Eingabe oder Leertaste öffnet ihn</translation>
    </message>
    <message>
        <source>Web site link; Enter or Space opens it</source>
        <translation>Link zur Website; Eingabe oder Leertaste öffnet ihn</translation>
    </message>
    <message>
        <source>Send me e-mail</source>
        <translation>Schreiben Sie mir</translation>
    </message>
    <message>
        <source>E-mail link; Enter or Space writes a message</source>
        <translation>E-Mail-Link; Eingabe oder Leertaste schreibt eine Nachricht</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Wirevane ver.1.2</source>
        <translation>Wirevane Version 1.2</translation>
    </message>
    <message>
        <source>Created by the Wirevane developers</source>
        <translation>Erstellt von den Wirevane-Entwicklern</translation>
    </message>
    <message>
        <source>© 2026 The Wirevane developers</source>
        <translation>© 2026 Die Wirevane-Entwickler</translation>
    </message>
</context>
<context>
    <name>THelpBox</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Hilfetext</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Click REFRESH after change</source>
        <translation>Nach einer Änderung AKTUALISIEREN wählen</translation>
    </message>
    <message>
        <source>&amp;IP&apos;s List</source>
        <translation>&amp;IP-Liste</translation>
    </message>
    <message>
        <source>Mark local address</source>
        <translation>Lokale Adresse markieren</translation>
    </message>
    <message>
        <source>Host addresses</source>
        <translation>Adressen dieses Rechners</translation>
    </message>
    <message>
        <source>Tick the addresses that are only local, then choose Refresh</source>
        <translation>Nur lokale Adressen ankreuzen, dann Aktualisieren wählen</translation>
    </message>
    <message>
        <source>Current status:</source>
        <translation>Aktueller Status:</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>Connection status</source>
        <translation>Verbindungsstatus</translation>
    </message>
    <message>
        <source>Address of the connection to the internet</source>
        <translation>Adresse der Verbindung ins Internet</translation>
    </message>
    <message>
        <source>Way of determination of  connection</source>
        <translation>Art, wie die Verbindung erkannt wird</translation>
    </message>
    <message>
        <source>Way of determination</source>
        <translation>Erkennungsart</translation>
    </message>
    <message>
        <source>How the program decides whether the computer is online</source>
        <translation>Wie das Programm entscheidet, ob der Rechner online ist</translation>
    </message>
    <message>
        <source>IP&apos;s Li&amp;st</source>
        <translation>Nach &amp;Liste</translation>
    </message>
    <message>
        <source>Online when the last address is not ticked in the list</source>
        <translation>Online, wenn die letzte Adresse in der Liste nicht angekreuzt ist</translation>
    </message>
    <message>
        <source>&amp;Local IP</source>
        <translation>L&amp;okale IP</translation>
    </message>
    <message>
        <source>Online when the last address differs from the first</source>
        <translation>Online, wenn die letzte Adresse von der ersten abweicht</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Seek this IP</source>
        <translation>Diese IP suchen</translation>
    </message>
    <message>
        <source>&amp;IP</source>
        <translation>&amp;IP</translation>
    </message>
    <message>
        <source>Finds the address in the log (Enter in the address field, F3 for the next one)</source>
        <translation>Sucht die Adresse im Protokoll (Eingabe im Adressfeld, F3 für die nächste)</translation>
    </message>
    <message>
        <source>Address to seek</source>
        <translation>Gesuchte Adresse</translation>
    </message>
    <message>
        <source>&amp;Date</source>
        <translation>&amp;Datum</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>The day a search with date keeps to</source>
        <translation>Der Tag, auf den sich eine Suche mit Datum beschränkt</translation>
    </message>
    <message>
        <source>Seek next or from first record</source>
        <translation>Nächsten suchen oder ab dem ersten Eintrag</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Nächster</translation>
    </message>
    <message>
        <source>Seek with Date or not</source>
        <translation>Mit oder ohne Datum suchen</translation>
    </message>
    <message>
        <source>&amp;with Date</source>
        <translation>&amp;mit Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>Connection log</source>
        <translation>Verbindungsprotokoll</translation>
    </message>
    <message>
        <source>One row per entry: address, date, time and message</source>
        <translation>Eine Zeile je Eintrag: Adresse, Datum, Uhrzeit und Meldung</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Load of program at startup</source>
        <translation>Programm beim Anmelden starten</translation>
    </message>
    <message>
        <source>&amp;Load at Startup</source>
        <translation>Beim &amp;Start laden</translation>
    </message>
    <message>
        <source>&amp;Minimize at Startup</source>
        <translation>&amp;Minimiert starten</translation>
    </message>
    <message>
        <source>Start in the notification area only</source>
        <translation>Nur im Benachrichtigungsbereich starten</translation>
    </message>
    <message>
        <source>Show a desktop notification when the connection goes online or offline</source>
        <translation>Eine Desktop-Benachrichtigung zeigen, wenn die Verbindung online oder offline geht</translation>
    </message>
    <message>
        <source>&amp;Notify on change</source>
        <translation>Bei &amp;Wechsel benachrichtigen</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Über</translation>
    </message>
    <message>
        <source>Open sign-in page</source>
        <translation>Anmeldeseite öffnen</translation>
    </message>
    <message>
        <source>The network wants you to sign in before it lets you on the internet</source>
        <translation>Das Netzwerk verlangt eine Anmeldung, bevor es Sie ins Internet lässt</translation>
    </message>
    <message>
        <source>Opens the network&apos;s sign-in page in the web browser</source>
        <translation>Öffnet die Anmeldeseite des Netzwerks im Webbrowser</translation>
    </message>
    <message>
        <source>Internet chec&amp;k</source>
        <translation>Internet&amp;prüfung</translation>
    </message>
    <message>
        <source>Online when an address is there and a web server on the internet answers as expected</source>
        <translation>Online, wenn eine Adresse vorhanden ist und ein Webserver im Internet wie erwartet antwortet</translation>
    </message>
</context>
<context>
    <name>wv::TDBGrid</name>
    <message>
        <source>Delete record?</source>
        <translation>Eintrag löschen?</translation>
    </message>
</context>
<context>
    <name>wv::THelpBox</name>
    <message>
        <source>On the left, mark the local address, which does not belong 
to any space internet.
The Status ONLINE will correspond to unchecked 
addresses.
After change on the left click Refresh.

Слева галочкой помечаете локальные адреса, 
которые не принадлежат пространству интернета.
Статус ONLINE будет соответствовать 
непомеченным адресам.
После изменений слева жмите Refresh.</source>
        <translation>Markieren Sie links die lokalen Adressen, die nicht 
zum Internet gehören.
Der Status ONLINE entspricht den nicht 
markierten Adressen.
Nach einer Änderung links Aktualisieren wählen.</translation>
    </message>
</context>
<context>
    <name>wv::THistoryChart</name>
    <message>
        <source>History chart</source>
        <translation>Verlaufsdiagramm</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>Not monitored</source>
        <translation>Nicht überwacht</translation>
    </message>
</context>
<context>
    <name>wv::THistoryView</name>
    <message>
        <source>Last 7 days</source>
        <translation>Letzte 7 Tage</translation>
    </message>
    <message>
        <source>Last 30 days</source>
        <translation>Letzte 30 Tage</translation>
    </message>
    <message>
        <source>Last 90 days</source>
        <translation>Letzte 90 Tage</translation>
    </message>
    <message>
        <source>Everything</source>
        <translation>Alles</translation>
    </message>
    <message>
        <source>Days shown</source>
        <translation>Angezeigte Tage</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>The longest outages of the period</source>
        <translation>Die längsten Ausfälle des Zeitraums</translation>
    </message>
    <message>
        <source>Longest outages</source>
        <translation>Längste Ausfälle</translation>
    </message>
</context>
<context>
    <name>wv::TTrayIcon</name>
    <message>
        <source>Error in TTrayIcon.destroy</source>
        <translation>Fehler in TTrayIcon.destroy</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.SetActive</source>
        <translation>Fehler in TTrayIcon.SetActive</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.FillDataStructure</source>
        <translation>Fehler in TTrayIcon.FillDataStructure</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.ModifyIcon</source>
        <translation>Fehler in TTrayIcon.ModifyIcon</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.HandleMinimize</source>
        <translation>Fehler in TTrayIcon.HandleMinimize</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.HandleRestore</source>
        <translation>Fehler in TTrayIcon.HandleRestore</translation>
    </message>
</context>
<context>
    <name>wv::TfrmMain</name>
    <message>
        <source>Error in LoadAtStartup</source>
        <translation>Fehler in LoadAtStartup</translation>
    </message>
    <message>
        <source>Error in CheckLoadAtStartup</source>
        <translation>Fehler in CheckLoadAtStartup</translation>
    </message>
    <message>
        <source>Error of creating Form of About Box</source>
        <translation>Fehler beim Erstellen des Fensters „Über“</translation>
    </message>
    <message>
        <source>Error of creating Form of Help Box</source>
        <translation>Fehler beim Erstellen des Hilfefensters</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1 d</source>
        <translation>%1 Tg.</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Offline: %1</source>
        <translation>Offline: %1</translation>
    </message>
    <message numerus="yes">
        <source>, %Ln outage(s)</source>
        <translation>
            <numerusform>, %Ln Ausfall</numerusform>
            <numerusform>, %Ln Ausfälle</numerusform>
        </translation>
    </message>
    <message>
        <source>Online: %1</source>
        <translation>Online: %1</translation>
    </message>
    <message>
        <source>Not monitored: %1</source>
        <translation>Nicht überwacht: %1</translation>
    </message>
    <message>
        <source>Since %1: </source>
        <translation>Seit %1: </translation>
    </message>
    <message numerus="yes">
        <source>Last %Ln day(s): </source>
        <translation>
            <numerusform>Letzter %Ln Tag: </numerusform>
            <numerusform>Letzte %Ln Tage: </numerusform>
        </translation>
    </message>
    <message>
        <source>not monitored.</source>
        <translation>nicht überwacht.</translation>
    </message>
    <message>
        <source>online %1 % of the monitored time. </source>
        <translation>%1 % der überwachten Zeit online. </translation>
    </message>
    <message>
        <source>No outage.</source>
        <translation>Kein Ausfall.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln outage(s), %1 offline in all; the longest %2 from %3.</source>
        <translation>
            <numerusform>%Ln Ausfall, insgesamt %1 offline; der längste %2 ab %3.</numerusform>
            <numerusform>%Ln Ausfälle, insgesamt %1 offline; der längste %2 ab %3.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln log entries left out (unreadable or out of order).</source>
        <translation>
            <numerusform>%Ln Protokolleintrag ausgelassen (unlesbar oder nicht in zeitlicher Reihenfolge).</numerusform>
            <numerusform>%Ln Protokolleinträge ausgelassen (unlesbar oder nicht in zeitlicher Reihenfolge).</numerusform>
        </translation>
    </message>
    <message>
        <source>%1  from %2 until now</source>
        <translation>%1  ab %2 bis jetzt</translation>
    </message>
    <message>
        <source>%1  from %2 to %3</source>
        <translation>%1  von %2 bis %3</translation>
    </message>
    <message>
        <source>No outages in this period.</source>
        <translation>Keine Ausfälle in diesem Zeitraum.</translation>
    </message>
    <message>
        <source>Error in TfrmMain.SaveAll</source>
        <translation>Fehler in TfrmMain.SaveAll</translation>
    </message>
    <message>
        <source>Online again after %1</source>
        <translation>Wieder online nach %1</translation>
    </message>
    <message>
        <source>Online again</source>
        <translation>Wieder online</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Offline</translation>
    </message>
    <message>
        <source>Offline since %1</source>
        <translation>Offline seit %1</translation>
    </message>
    <message>
        <source>Wirevane is already running with the log %1, but it did not answer within 2 seconds.</source>
        <translation>Wirevane läuft bereits mit dem Protokoll %1, hat aber nicht innerhalb von 2 Sekunden geantwortet.</translation>
    </message>
    <message>
        <source>Error of loading data from table</source>
        <translation>Fehler beim Laden der Daten aus der Tabelle</translation>
    </message>
    <message>
        <source>%1 and %2 not found</source>
        <translation>%1 und %2 nicht gefunden</translation>
    </message>
    <message>
        <source>Wirevane goes on monitoring. The entries not saved yet are kept and written to the log as soon as it can be saved again.</source>
        <translation>Wirevane überwacht weiter. Die noch nicht gespeicherten Einträge bleiben erhalten und werden ins Protokoll geschrieben, sobald es wieder gespeichert werden kann.</translation>
    </message>
    <message>
        <source>Error in TfrmMain.LoadAll</source>
        <translation>Fehler in TfrmMain.LoadAll</translation>
    </message>
    <message>
        <source>Load at Startup could not be turned on: %1.</source>
        <translation>„Beim Start laden“ konnte nicht eingeschaltet werden: %1.</translation>
    </message>
    <message>
        <source>Load at Startup could not be turned off: %1.</source>
        <translation>„Beim Start laden“ konnte nicht ausgeschaltet werden: %1.</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Log file: %1</source>
        <translation>Protokolldatei: %1</translation>
    </message>
    <message>
        <source>IP: %1</source>
        <translation>IP: %1</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>The disk quota is used up.</source>
        <translation>Das Speicherkontingent ist aufgebraucht.</translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation>Der Datenträger ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Permission to write there is denied.</source>
        <translation>Das Schreiben dort ist nicht erlaubt.</translation>
    </message>
    <message>
        <source>The disk reported an input/output error.</source>
        <translation>Der Datenträger meldete einen Ein-/Ausgabefehler.</translation>
    </message>
    <message>
        <source>The file has grown too large.</source>
        <translation>Die Datei ist zu groß geworden.</translation>
    </message>
    <message>
        <source>Reading the log…</source>
        <translation>Protokoll wird gelesen…</translation>
    </message>
    <message>
        <source>Wirevane is still ending with the log %1 after 10 seconds; start it again once it has ended.</source>
        <translation>Wirevane mit dem Protokoll %1 ist nach 10 Sekunden noch immer nicht beendet; starten Sie es erneut, sobald es beendet ist.</translation>
    </message>
    <message>
        <source>Open sign-in page</source>
        <translation>Anmeldeseite öffnen</translation>
    </message>
    <message>
        <source>ProbeURL &quot;%1&quot; in Vanewire.ini is not an http:// or https:// address: the internet check always fails.</source>
        <translation>ProbeURL „%1“ in Vanewire.ini ist keine http://- oder https://-Adresse: Die Internetprüfung schlägt immer fehl.</translation>
    </message>
    <message>
        <source>Asks %1 every %2 s (every %3 s while not online) whether the internet answers; nothing else is sent, and nothing at all with the other two ways.
ProbeURL, ProbeExpect and ProbeInterval in Vanewire.ini change where and how often.</source>
        <translation>Fragt %1 alle %2 s (alle %3 s, solange nicht online), ob das Internet antwortet; sonst wird nichts gesendet, bei den anderen beiden Erkennungsarten gar nichts.
ProbeURL, ProbeExpect und ProbeInterval in Vanewire.ini ändern, wohin und wie oft.</translation>
    </message>
    <message>
        <source>Sign-in required</source>
        <translation>Anmeldung erforderlich</translation>
    </message>
    <message>
        <source>Wirevane is running in the notification area. Click its icon to open it.</source>
        <translation>Wirevane läuft im Benachrichtigungsbereich. Klicken Sie auf sein Symbol, um es zu öffnen.</translation>
    </message>
</context>
</TS>
