<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>wv::TfrmMain</name>
    <message numerus="yes">
        <source>, %Ln outage(s)</source>
        <translation>
            <numerusform>, %Ln outage</numerusform>
            <numerusform>, %Ln outages</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Last %Ln day(s): </source>
        <translation>
            <numerusform>Last %Ln day: </numerusform>
            <numerusform>Last %Ln days: </numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln outage(s), %1 offline in all; the longest %2 from %3.</source>
        <translation>
            <numerusform>%Ln outage, %1 offline in all; the longest %2 from %3.</numerusform>
            <numerusform>%Ln outages, %1 offline in all; the longest %2 from %3.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln log entries left out (unreadable or out of order).</source>
        <translation>
            <numerusform>%Ln log entry left out (unreadable or out of order).</numerusform>
            <numerusform>%Ln log entries left out (unreadable or out of order).</numerusform>
        </translation>
    </message>
</context>
</TS>
