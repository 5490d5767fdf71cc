<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>TAboutBox</name>
    <message>
        <source>About Wirevane</source>
        <translation>О программе Wirevane</translation>
    </message>
    <message>
        <source>Program icon</source>
        <translation>Значок программы</translation>
    </message>
    <message>
        <source>Welcome to my home page</source>
        <translation>Добро пожаловать на мою страницу</translation>
    </message>
    <message>
        <source>Home page link; Enter or Space opens it</source>
        <translation>Ссылка на домашнюю страницу; Enter или пробел открывает её</translation>
    </message>
    <message>
        <source>Web site link; Enter or Space opens it</source>
        <translation>Ссылка на сайт; Enter или пробел открывает её</translation>
    </message>
    <message>
        <source>Send me e-mail</source>
        <translation>Напишите мне</translation>
    </message>
    <message>
        <source>E-mail link; Enter or Space writes a message</source>
        <translation>Адрес электронной почты; Enter или пробел открывает письмо</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Wirevane ver.1.2</source>
        <translation>Wirevane версия 1.2</translation>
    </message>
    <message>
        <source>Created by the Wirevane developers</source>
        <translation>Создано разработчиками Wirevane</translation>
    </message>
    <message>
        <source>© 2026 The Wirevane developers</source>
        <translation>© 2026 Разработчики Wirevane</translation>
    </message>
</context>
<context>
    <name>THelpBox</name>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Help text</source>
        <translation>Текст справки</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>Pages</source>
        <translation>Страницы</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Состояние</translation>
    </message>
    <message>
        <source>Click REFRESH after change</source>
        <translation>После изменения нажмите «Обновить»</translation>
    </message>
    <message>
        <source>&amp;IP&apos;s List</source>
        <translation>Сп&amp;исок IP</translation>
    </message>
    <message>
        <source>Mark local address</source>
        <translation>Отметьте локальный адрес</translation>
    </message>
    <message>
        <source>Host addresses</source>
        <translation>Адреса компьютера</translation>
    </message>
    <message>
        <source>Tick the addresses that are only local, then choose Refresh</source>
        <translation>Отметьте только локальные адреса, затем выберите «Обновить»</translation>
    </message>
    <message>
        <source>Current status:</source>
        <translation>Текущее состояние:</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Нет связи</translation>
    </message>
    <message>
        <source>Connection status</source>
        <translation>Состояние подключения</translation>
    </message>
    <message>
        <source>Address of the connection to the internet</source>
        <translation>Адрес подключения к интернету</translation>
    </message>
    <message>
        <source>Way of determination of  connection</source>
        <translation>Способ определения подключения</translation>
    </message>
    <message>
        <source>Way of determination</source>
        <translation>Способ определения</translation>
    </message>
    <message>
        <source>How the program decides whether the computer is online</source>
        <translation>Как программа решает, подключён ли компьютер к интернету</translation>
    </message>
    <message>
        <source>IP&apos;s Li&amp;st</source>
        <translation>По спис&amp;ку IP</translation>
    </message>
    <message>
        <source>Online when the last address is not ticked in the list</source>
        <translation>На связи, когда последний адрес не отмечен в списке</translation>
    </message>
    <message>
        <source>&amp;Local IP</source>
        <translation>&amp;Локальный IP</translation>
    </message>
    <message>
        <source>Online when the last address differs from the first</source>
        <translation>На связи, когда последний адрес отличается от первого</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Журнал</translation>
    </message>
    <message>
        <source>Seek this IP</source>
        <translation>Найти этот IP</translation>
    </message>
    <message>
        <source>&amp;IP</source>
        <translation>&amp;IP</translation>
    </message>
    <message>
        <source>Finds the address in the log (Enter in the address field, F3 for the next one)</source>
        <translation>Ищет адрес в журнале (Enter в поле адреса, F3 — следующий)</translation>
    </message>
    <message>
        <source>Address to seek</source>
        <translation>Искомый адрес</translation>
    </message>
    <message>
        <source>&amp;Date</source>
        <translation>Д&amp;ата</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>The day a search with date keeps to</source>
        <translation>День, которым ограничен поиск с датой</translation>
    </message>
    <message>
        <source>Seek next or from first record</source>
        <translation>Искать следующую или с первой записи</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>Сл&amp;едующая</translation>
    </message>
    <message>
        <source>Seek with Date or not</source>
        <translation>Искать с датой или без</translation>
    </message>
    <message>
        <source>&amp;with Date</source>
        <translation>с &amp;датой</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>Connection log</source>
        <translation>Журнал подключений</translation>
    </message>
    <message>
        <source>One row per entry: address, date, time and message</source>
        <translation>Одна строка на запись: адрес, дата, время и сообщение</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>Load of program at startup</source>
        <translation>Запускать программу при входе в систему</translation>
    </message>
    <message>
        <source>&amp;Load at Startup</source>
        <translation>&amp;Загружать при запуске</translation>
    </message>
    <message>
        <source>&amp;Minimize at Startup</source>
        <translation>Сво&amp;рачивать при запуске</translation>
    </message>
    <message>
        <source>Start in the notification area only</source>
        <translation>Запускаться только в области уведомлений</translation>
    </message>
    <message>
        <source>Show a desktop notification when the connection goes online or offline</source>
        <translation>Показывать уведомление, когда связь появляется или пропадает</translation>
    </message>
    <message>
        <source>&amp;Notify on change</source>
        <translation>&amp;Уведомлять об изменениях</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Выход</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Обновить</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>О &amp;программе</translation>
    </message>
    <message>
        <source>Open sign-in page</source>
        <translation>Открыть страницу входа</translation>
    </message>
    <message>
        <source>The network wants you to sign in before it lets you on the internet</source>
        <translation>Сеть требует войти, прежде чем пустит в интернет</translation>
    </message>
    <message>
        <source>Opens the network&apos;s sign-in page in the web browser</source>
        <translation>Открывает в веб-браузере страницу входа в сеть</translation>
    </message>
    <message>
        <source>Internet chec&amp;k</source>
        <translation>Проверка и&amp;нтернета</translation>
    </message>
    <message>
        <source>Online when an address is there and a web server on the internet answers as expected</source>
        <translation>На связи, когда адрес есть и веб-сервер в интернете отвечает как положено</translation>
    </message>
</context>
<context>
    <name>wv::TDBGrid</name>
    <message>
        <source>Delete record?</source>
        <translation>Удалить запись?</translation>
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
        <translation>Слева галочкой помечаете локальные адреса, 
которые не принадлежат пространству интернета.
Статус ONLINE будет соответствовать 
непомеченным адресам.
После изменений слева жмите «Обновить».</translation>
    </message>
</context>
<context>
    <name>wv::THistoryChart</name>
    <message>
        <source>History chart</source>
        <translation>Диаграмма истории</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>На связи</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Нет связи</translation>
    </message>
    <message>
        <source>Not monitored</source>
        <translation>Без наблюдения</translation>
    </message>
</context>
<context>
    <name>wv::THistoryView</name>
    <message>
        <source>Last 7 days</source>
        <translation>Последние 7 дней</translation>
    </message>
    <message>
        <source>Last 30 days</source>
        <translation>Последние 30 дней</translation>
    </message>
    <message>
        <source>Last 90 days</source>
        <translation>Последние 90 дней</translation>
    </message>
    <message>
        <source>Everything</source>
        <translation>Всё время</translation>
    </message>
    <message>
        <source>Days shown</source>
        <translation>Показанные дни</translation>
    </message>
    <message>
        <source>Period</source>
        <translation>Период</translation>
    </message>
    <message>
        <source>The longest outages of the period</source>
        <translation>Самые долгие обрывы за период</translation>
    </message>
    <message>
        <source>Longest outages</source>
        <translation>Самые долгие обрывы</translation>
    </message>
</context>
<context>
    <name>wv::TTrayIcon</name>
    <message>
        <source>Error in TTrayIcon.destroy</source>
        <translation>Ошибка в TTrayIcon.destroy</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.SetActive</source>
        <translation>Ошибка в TTrayIcon.SetActive</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.FillDataStructure</source>
        <translation>Ошибка в TTrayIcon.FillDataStructure</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.ModifyIcon</source>
        <translation>Ошибка в TTrayIcon.ModifyIcon</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.HandleMinimize</source>
        <translation>Ошибка в TTrayIcon.HandleMinimize</translation>
    </message>
    <message>
        <source>Error in TTrayIcon.HandleRestore</source>
        <translation>Ошибка в TTrayIcon.HandleRestore</translation>
    </message>
</context>
<context>
    <name>wv::TfrmMain</name>
    <message>
        <source>Error in LoadAtStartup</source>
        <translation>Ошибка в LoadAtStartup</translation>
    </message>
    <message>
        <source>Error in CheckLoadAtStartup</source>
        <translation>Ошибка в CheckLoadAtStartup</translation>
    </message>
    <message>
        <source>Error of creating Form of About Box</source>
        <translation>Ошибка создания окна «О программе»</translation>
    </message>
    <message>
        <source>Error of creating Form of Help Box</source>
        <translation>Ошибка создания окна справки</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 мин</translation>
    </message>
    <message>
        <source>%1 h</source>
        <translation>%1 ч</translation>
    </message>
    <message>
        <source>%1 d</source>
        <translation>%1 д</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>Offline: %1</source>
        <translation>Нет связи: %1</translation>
    </message>
    <message numerus="yes">
        <source>, %Ln outage(s)</source>
        <translation>
            <numerusform>, %Ln обрыв</numerusform>
            <numerusform>, %Ln обрыва</numerusform>
            <numerusform>, %Ln обрывов</numerusform>
        </translation>
    </message>
    <message>
        <source>Online: %1</source>
        <translation>На связи: %1</translation>
    </message>
    <message>
        <source>Not monitored: %1</source>
        <translation>Без наблюдения: %1</translation>
    </message>
    <message>
        <source>Since %1: </source>
        <translation>С %1: </translation>
    </message>
    <message numerus="yes">
        <source>Last %Ln day(s): </source>
        <translation>
            <numerusform>Последний %Ln день: </numerusform>
            <numerusform>Последние %Ln дня: </numerusform>
            <numerusform>Последние %Ln дней: </numerusform>
        </translation>
    </message>
    <message>
        <source>not monitored.</source>
        <translation>наблюдения не было.</translation>
    </message>
    <message>
        <source>online %1 % of the monitored time. </source>
        <translation>на связи %1 % времени наблюдения. </translation>
    </message>
    <message>
        <source>No outage.</source>
        <translation>Обрывов нет.</translation>
    </message>
    <message numerus="yes">
        <source>%Ln outage(s), %1 offline in all; the longest %2 from %3.</source>
        <translation>
            <numerusform>%Ln обрыв, всего без связи %1; самый долгий — %2 с %3.</numerusform>
            <numerusform>%Ln обрыва, всего без связи %1; самый долгий — %2 с %3.</numerusform>
            <numerusform>%Ln обрывов, всего без связи %1; самый долгий — %2 с %3.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln log entries left out (unreadable or out of order).</source>
        <translation>
            <numerusform>Пропущена %Ln запись журнала (нечитаемая или не по порядку).</numerusform>
            <numerusform>Пропущены %Ln записи журнала (нечитаемые или не по порядку).</numerusform>
            <numerusform>Пропущено %Ln записей журнала (нечитаемых или не по порядку).</numerusform>
        </translation>
    </message>
    <message>
        <source>%1  from %2 until now</source>
        <translation>%1  с %2 до сих пор</translation>
    </message>
    <message>
        <source>%1  from %2 to %3</source>
        <translation>%1  с %2 по %3</translation>
    </message>
    <message>
        <source>No outages in this period.</source>
        <translation>За этот период обрывов не было.</translation>
    </message>
    <message>
        <source>Error in TfrmMain.SaveAll</source>
        <translation>Ошибка в TfrmMain.SaveAll</translation>
    </message>
    <message>
        <source>Online again after %1</source>
        <translation>Снова на связи через %1</translation>
    </message>
    <message>
        <source>Online again</source>
        <translation>Снова на связи</translation>
    </message>
    <message>
        <source>Online</source>
        <translation>На связи</translation>
    </message>
    <message>
        <source>Offline</source>
        <translation>Нет связи</translation>
    </message>
    <message>
        <source>Offline since %1</source>
        <translation>Нет связи с %1</translation>
    </message>
    <message>
        <source>Wirevane is already running with the log %1, but it did not answer within 2 seconds.</source>
        <translation>Wirevane уже запущена с журналом %1, но не ответила в течение 2 секунд.</translation>
    </message>
    <message>
        <source>Error of loading data from table</source>
        <translation>Ошибка загрузки данных из таблицы</translation>
    </message>
    <message>
        <source>%1 and %2 not found</source>
        <translation>%1 и %2 не найдены</translation>
    </message>
    <message>
        <source>Wirevane goes on monitoring. The entries not saved yet are kept and written to the log as soon as it can be saved again.</source>
        <translation>Wirevane продолжает наблюдение. Ещё не сохранённые записи не потеряны и будут записаны в журнал, как только его снова можно будет сохранить.</translation>
    </message>
    <message>
        <source>Error in TfrmMain.LoadAll</source>
        <translation>Ошибка в TfrmMain.LoadAll</translation>
    </message>
    <message>
        <source>Load at Startup could not be turned on: %1.</source>
        <translation>Не удалось включить «Загружать при запуске»: %1.</translation>
    </message>
    <message>
        <source>Load at Startup could not be turned off: %1.</source>
        <translation>Не удалось выключить «Загружать при запуске»: %1.</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Параметры</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Log file: %1</source>
        <translation>Файл журнала: %1</translation>
    </message>
    <message>
        <source>IP: %1</source>
        <translation>IP: %1</translation>
    </message>
    <message>
        <source>The disk is full.</source>
        <translation>Диск заполнен.</translation>
    </message>
    <message>
        <source>The disk quota is used up.</source>
        <translation>Дисковая квота исчерпана.</translation>
    </message>
    <message>
        <source>The disk is read-only.</source>
        <translation>Диск доступен только для чтения.</translation>
    </message>
    <message>
        <source>Permission to write there is denied.</source>
        <translation>Нет прав на запись в это место.</translation>
    </message>
    <message>
        <source>The disk reported an input/output error.</source>
        <translation>Диск сообщил об ошибке ввода-вывода.</translation>
    </message>
    <message>
        <source>The file has grown too large.</source>
        <translation>Файл стал слишком большим.</translation>
    </message>
    <message>
        <source>Reading the log…</source>
        <translation>Чтение журнала…</translation>
    </message>
    <message>
        <source>Wirevane is still ending with the log %1 after 10 seconds; start it again once it has ended.</source>
        <translation>Wirevane с журналом %1 всё ещё завершает работу спустя 10 секунд; запустите её снова, когда она завершится.</translation>
    </message>
    <message>
        <source>Open sign-in page</source>
        <translation>Открыть страницу входа</translation>
    </message>
    <message>
        <source>ProbeURL &quot;%1&quot; in Vanewire.ini is not an http:// or https:// address: the internet check always fails.</source>
        <translation>ProbeURL «%1» в Vanewire.ini — не адрес http:// или https://: проверка интернета всегда будет неудачной.</translation>
    </message>
    <message>
        <source>Asks %1 every %2 s (every %3 s while not online) whether the internet answers; nothing else is sent, and nothing at all with the other two ways.
ProbeURL, ProbeExpect and ProbeInterval in Vanewire.ini change where and how often.</source>
        <translation>Раз в %2 с (раз в %3 с, пока нет связи) спрашивает %1, отвечает ли интернет; больше ничего не отправляется, а при двух других способах — вообще ничего.
ProbeURL, ProbeExpect и ProbeInterval в Vanewire.ini задают, куда и как часто.</translation>
    </message>
    <message>
        <source>Sign-in required</source>
        <translation>Требуется вход</translation>
    </message>
    <message>
        <source>Wirevane is running in the notification area. Click its icon to open it.</source>
        <translation>Wirevane работает в области уведомлений. Щёлкните его значок, чтобы открыть окно.</translation>
    </message>
</context>
</TS>
