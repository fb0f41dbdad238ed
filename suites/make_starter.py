#!/usr/bin/env python3
"""Writes the starter corpora (starter-*.txt) from the phrases below: numbers, dates and times,
abbreviations and units, punctuation, engine commands and words a user dictionary may change.
Run it from anywhere; it writes beside itself. The output is deterministic."""
import pathlib

HERE = pathlib.Path(__file__).resolve().parent

NUMBERS = [0, 1, 2, 7, 10, 11, 12, 13, 17, 19, 20, 21, 30, 42, 99, 100, 101, 110, 115, 199, 200,
           256, 999, 1000, 1001, 1024, 1100, 1999, 2000, 2026, 4096, 10000, 12345, 65535, 100000,
           999999, 1000000, 2500000, 1234567, 1000000000]
YEARS = [800, 1066, 1492, 1789, 1815, 1900, 1945, 1969, 1989, 2001, 2010, 2019, 2020, 2038,
         2100, 1600, 1750, 1848, 1905, 1999]
DECIMALS = ["0.5", "3.14", "2.718", "10.01", "99.9", "0.001", "1.5", "12.75"]

LANGUAGES = {
    "en-us": {
        "year": "It happened in {y}.",
        "number": "The answer is {n}.",
        "count": "We counted {n} birds and {m} boats.",
        "decimal": "The value is {d}.",
        "percent": "Prices rose by {p}% last year.",
        "money": "The ticket costs ${d}.",
        "negative": "It was -{n} degrees outside.",
        "ordinal": ["He finished 1st.", "She came 2nd.", "The 3rd door.", "The 21st century.",
                    "On the 42nd floor.", "The 100th visitor."],
        "dates": ["Today is 12/08/2026.", "Born on 1 January 1970.", "The meeting is on 2026-03-15.",
                  "It opened in March 1999.", "We met on July 4th, 1976.", "The deadline is 31/12/2025.",
                  "From 1914 to 1918.", "In the 1960s.", "On Monday, 5 May.", "Since 29 February 2024."],
        "times": ["The train leaves at 7:45.", "Lunch is at 12:30 pm.", "Wake me at 06:00.",
                  "It ended at 23:59:59.", "Open 9am to 5pm.", "The call lasted 1:02:03."],
        "abbreviations": ["Dr. Smith lives on Main St.", "Mr. and Mrs. Jones arrived.",
                          "The U.S. and the U.K.", "NASA launched a rocket.",
                          "Plug it into the USB port.", "The BBC reported it.", "e.g. apples, i.e. fruit.",
                          "It weighs 5 kg.", "Drive 12 km north.", "The room is 20 m2.",
                          "Use 250 ml of milk.", "It runs at 3.5 GHz.", "A 100 W bulb.",
                          "See p. 12, vol. 3.", "Prof. Brown, Ph.D.", "Approx. 50 people.",
                          "Call ext. 204.", "The CEO of ACME Inc.", "Send it ASAP.", "At 60 mph."],
        "punctuation": ["Really?", "Stop!", "Wait... what?", "Yes; no; maybe.",
                        "\"Hello,\" she said.", "(This is an aside.)", "One - two - three.",
                        "Well, well, well.", "Is it true? Yes! It is.", "A: first; B: second.",
                        "He said: 'no'.", "Red, green, and blue.", "Why?! Why not?",
                        "End of line.", "Hmm.", "It's Tom's book.", "Rock 'n' roll.",
                        "Items: pens, paper, ink.", "Ready, set, go!", "50/50 chance."],
        "commands": ["Wait~P500 then speak.", "~SCAT is spelled out.", "A short~P200 pause.",
                     "Spell ~STTS now.", "One~P1000 second later.", "Mark~M here.",
                     "Two~P300 small~P300 pauses.", "~SNASA letters.", "Before~M1 and after.",
                     "No pause~P0 at all."],
        "words": ["Quenvar Voxtrial speaks.", "The TTS engine runs.", "Read the README file.",
                  "Voxtrial tests speech.", "Open the GUI.", "Linux and Qt.", "An eSpeak voice.",
                  "The word tomato.", "Either way.", "The data is live.", "Read the lead.",
                  "A bass fish and a bass guitar.", "Wind the wind-up toy.", "Close the door close by.",
                  "Tear up the paper with a tear."],
    },
    "de": {
        "year": "Es geschah im Jahr {y}.",
        "number": "Die Antwort ist {n}.",
        "count": "Wir zählten {n} Vögel und {m} Boote.",
        "decimal": "Der Wert ist {dc}.",
        "percent": "Die Preise stiegen um {p} %.",
        "money": "Das Ticket kostet {dc} €.",
        "negative": "Es hatte -{n} Grad.",
        "ordinal": ["Er wurde 1. im Rennen.", "Am 2. Tag.", "Die 3. Tür.", "Im 21. Jahrhundert.",
                    "Im 42. Stock.", "Der 100. Besucher."],
        "dates": ["Heute ist der 08.12.2026.", "Geboren am 1. Januar 1970.", "Am 15.03.2026 um 10 Uhr.",
                  "Es öffnete im März 1999.", "Von 1914 bis 1918.", "In den 1960er Jahren.",
                  "Am Montag, dem 5. Mai.", "Seit dem 29. Februar 2024.", "Bis 31.12.2025.",
                  "Im Jahr 2000."],
        "times": ["Der Zug fährt um 7:45 Uhr.", "Mittag ist um 12:30.", "Weck mich um 06:00.",
                  "Es endete um 23:59:59.", "Geöffnet von 9 bis 17 Uhr.", "Das Gespräch dauerte 1:02:03."],
        "abbreviations": ["Dr. Müller wohnt in der Hauptstr. 5.", "Hr. und Fr. Schmidt kamen.",
                          "Die EU und die USA.", "Die ARD berichtete.", "z. B. Äpfel, d. h. Obst.",
                          "Es wiegt 5 kg.", "Fahr 12 km nach Norden.", "Das Zimmer hat 20 m².",
                          "Nimm 250 ml Milch.", "Mit 3,5 GHz.", "Siehe S. 12, Bd. 3.", "Prof. Braun.",
                          "Ca. 50 Leute.", "Die GmbH & Co. KG.", "Bitte usw. beachten.", "Mit 60 km/h.",
                          "Nr. 7 gewinnt.", "Tel. 0711 123456.", "inkl. MwSt.", "Das BGB regelt es."],
        "punctuation": ["Wirklich?", "Halt!", "Warte... was?", "Ja; nein; vielleicht.",
                        "„Hallo“, sagte sie.", "(Eine Nebenbemerkung.)", "Eins - zwei - drei.",
                        "Na, na, na.", "Stimmt das? Ja! Es stimmt.", "A: erstens; B: zweitens.",
                        "Er sagte: ‚nein‘.", "Rot, grün und blau.", "Warum?! Warum nicht?",
                        "Ende der Zeile.", "Hm.", "Toms Buch.", "Straße und Strasse.",
                        "Dinge: Stifte, Papier, Tinte.", "Auf die Plätze, fertig, los!", "50/50 Chance."],
        "commands": ["Warte~P500 dann sprich.", "~SKATZE wird buchstabiert.", "Eine kurze~P200 Pause.",
                     "Buchstabiere ~SABC jetzt.", "Eins~P1000 Sekunde später.", "Eine Marke~M hier.",
                     "Zwei~P300 kleine~P300 Pausen.", "~SUSA Buchstaben.", "Vorher~M1 und nachher.",
                     "Keine Pause~P0 hier."],
        "words": ["Quenvar Voxtrial spricht.", "Die TTS-Maschine läuft.", "Lies die Datei.",
                  "Voxtrial prüft Sprache.", "Öffne das Fenster.", "Linux und Qt.", "Eine eSpeak-Stimme.",
                  "Das Wort Tomate.", "Der Computer rechnet.", "Das Handy klingelt.", "Ein Meeting um zehn.",
                  "Der Service ist gut.", "Das Team gewinnt.", "Ein Job in Berlin.", "Das Update kommt."],
    },
    "fr": {
        "year": "C'est arrivé en {y}.",
        "number": "La réponse est {n}.",
        "count": "Nous avons compté {n} oiseaux et {m} bateaux.",
        "decimal": "La valeur est {dc}.",
        "percent": "Les prix ont augmenté de {p} %.",
        "money": "Le billet coûte {dc} €.",
        "negative": "Il faisait -{n} degrés.",
        "ordinal": ["Il est arrivé 1er.", "Le 2e jour.", "La 3e porte.", "Au XXIe siècle.",
                    "Au 42e étage.", "Le 100e visiteur."],
        "dates": ["Nous sommes le 08/12/2026.", "Né le 1er janvier 1970.", "Le 15 mars 2026 à 10 h.",
                  "Ouvert en mars 1999.", "De 1914 à 1918.", "Dans les années 1960.",
                  "Le lundi 5 mai.", "Depuis le 29 février 2024.", "Jusqu'au 31/12/2025.", "En l'an 2000."],
        "times": ["Le train part à 7 h 45.", "Le déjeuner est à 12:30.", "Réveille-moi à 06:00.",
                  "Cela a fini à 23:59:59.", "Ouvert de 9 h à 17 h.", "L'appel a duré 1:02:03."],
        "abbreviations": ["M. Dupont habite av. Foch.", "Mme et Mlle Martin sont venues.",
                          "L'UE et les USA.", "La SNCF annonce un retard.", "p. ex. des pommes.",
                          "Cela pèse 5 kg.", "Roulez 12 km vers le nord.", "La pièce fait 20 m².",
                          "Prenez 250 ml de lait.", "À 3,5 GHz.", "Voir p. 12, vol. 3.", "Dr Bernard.",
                          "Env. 50 personnes.", "La S.A. et la SARL.", "Etc., etc.", "À 60 km/h.",
                          "N° 7 gagne.", "Tél. 01 23 45 67 89.", "TVA comprise.", "Le CNRS publie."],
        "punctuation": ["Vraiment ?", "Arrête !", "Attends... quoi ?", "Oui ; non ; peut-être.",
                        "« Bonjour », dit-elle.", "(Une remarque.)", "Un - deux - trois.",
                        "Eh bien, eh bien.", "Est-ce vrai ? Oui ! C'est vrai.", "A : d'abord ; B : ensuite.",
                        "Il a dit : non.", "Rouge, vert et bleu.", "Pourquoi ?! Pourquoi pas ?",
                        "Fin de ligne.", "Hum.", "Le livre de Tom.", "L'œuvre d'art.",
                        "Objets : stylos, papier, encre.", "À vos marques, prêts, partez !", "50/50."],
        "commands": ["Attends~P500 puis parle.", "~SCHAT est épelé.", "Une courte~P200 pause.",
                     "Épelle ~SABC maintenant.", "Une~P1000 seconde plus tard.", "Une marque~M ici.",
                     "Deux~P300 petites~P300 pauses.", "~SONU lettres.", "Avant~M1 et après.",
                     "Aucune pause~P0 ici."],
        "words": ["Quenvar Voxtrial parle.", "Le moteur TTS tourne.", "Lisez le fichier.",
                  "Voxtrial teste la parole.", "Ouvrez la fenêtre.", "Linux et Qt.", "Une voix eSpeak.",
                  "Le mot tomate.", "Le week-end arrive.", "Un e-mail urgent.", "Le parking est plein.",
                  "Un sandwich au jambon.", "Le football ce soir.", "Un job à Paris.", "La mise à jour."],
    },
    "es": {
        "year": "Ocurrió en {y}.",
        "number": "La respuesta es {n}.",
        "count": "Contamos {n} pájaros y {m} barcos.",
        "decimal": "El valor es {dc}.",
        "percent": "Los precios subieron un {p} %.",
        "money": "El billete cuesta {dc} €.",
        "negative": "Hacía -{n} grados.",
        "ordinal": ["Llegó 1.º en la carrera.", "El 2.º día.", "La 3.ª puerta.", "En el siglo XXI.",
                    "En el piso 42.", "El visitante 100."],
        "dates": ["Hoy es 08/12/2026.", "Nació el 1 de enero de 1970.", "El 15 de marzo de 2026.",
                  "Abrió en marzo de 1999.", "De 1914 a 1918.", "En los años sesenta.",
                  "El lunes 5 de mayo.", "Desde el 29 de febrero de 2024.", "Hasta el 31/12/2025.",
                  "En el año 2000."],
        "times": ["El tren sale a las 7:45.", "La comida es a las 12:30.", "Despiértame a las 06:00.",
                  "Terminó a las 23:59:59.", "Abierto de 9 a 17 h.", "La llamada duró 1:02:03."],
        "abbreviations": ["El Dr. García vive en la Avda. Sol.", "El Sr. y la Sra. López llegaron.",
                          "La UE y EE. UU.", "La ONU informó.", "p. ej. manzanas.", "Pesa 5 kg.",
                          "Conduce 12 km al norte.", "La sala tiene 20 m².", "Usa 250 ml de leche.",
                          "A 3,5 GHz.", "Véase pág. 12, vol. 3.", "La Profa. Ruiz.", "Aprox. 50 personas.",
                          "Una S.A. española.", "Etc., etc.", "A 60 km/h.", "El n.º 7 gana.",
                          "Tel. 912 345 678.", "IVA incluido.", "La RAE decide."],
        "punctuation": ["¿De verdad?", "¡Para!", "Espera... ¿qué?", "Sí; no; quizá.",
                        "«Hola», dijo ella.", "(Un inciso.)", "Uno - dos - tres.", "Bueno, bueno, bueno.",
                        "¿Es cierto? ¡Sí! Lo es.", "A: primero; B: segundo.", "Dijo: «no».",
                        "Rojo, verde y azul.", "¡¿Por qué?! ¿Por qué no?", "Fin de línea.", "Mmm.",
                        "El libro de Tomás.", "Año y niño.", "Cosas: lápices, papel, tinta.",
                        "¡Preparados, listos, ya!", "50/50."],
        "commands": ["Espera~P500 y habla.", "~SGATO se deletrea.", "Una breve~P200 pausa.",
                     "Deletrea ~SABC ahora.", "Un~P1000 segundo después.", "Una marca~M aquí.",
                     "Dos~P300 pequeñas~P300 pausas.", "~SONU letras.", "Antes~M1 y después.",
                     "Sin pausa~P0 aquí."],
        "words": ["Quenvar Voxtrial habla.", "El motor TTS funciona.", "Lee el archivo.",
                  "Voxtrial prueba el habla.", "Abre la ventana.", "Linux y Qt.", "Una voz de eSpeak.",
                  "La palabra tomate.", "El fin de semana.", "Un e-mail urgente.", "El parking está lleno.",
                  "Un sándwich de jamón.", "El fútbol esta noche.", "Un trabajo en Madrid.", "La actualización."],
    },
    "it": {
        "year": "È successo nel {y}.",
        "number": "La risposta è {n}.",
        "count": "Abbiamo contato {n} uccelli e {m} barche.",
        "decimal": "Il valore è {dc}.",
        "percent": "I prezzi sono saliti del {p}%.",
        "money": "Il biglietto costa {dc} €.",
        "negative": "C'erano -{n} gradi.",
        "ordinal": ["È arrivato 1º.", "Il 2º giorno.", "La 3ª porta.", "Nel XXI secolo.",
                    "Al 42º piano.", "Il 100º visitatore."],
        "dates": ["Oggi è l'08/12/2026.", "Nato il 1º gennaio 1970.", "Il 15 marzo 2026 alle 10.",
                  "Aperto nel marzo 1999.", "Dal 1914 al 1918.", "Negli anni Sessanta.",
                  "Lunedì 5 maggio.", "Dal 29 febbraio 2024.", "Fino al 31/12/2025.", "Nell'anno 2000."],
        "times": ["Il treno parte alle 7:45.", "Il pranzo è alle 12:30.", "Svegliami alle 06:00.",
                  "È finito alle 23:59:59.", "Aperto dalle 9 alle 17.", "La chiamata è durata 1:02:03."],
        "abbreviations": ["Il dott. Rossi abita in via Roma.", "Il sig. e la sig.ra Bianchi.",
                          "L'UE e gli USA.", "La RAI ha riferito.", "Ad es. mele.", "Pesa 5 kg.",
                          "Guida per 12 km verso nord.", "La stanza è di 20 m².", "Usa 250 ml di latte.",
                          "A 3,5 GHz.", "Vedi pag. 12, vol. 3.", "La prof.ssa Neri.", "Ca. 50 persone.",
                          "Una S.p.A. italiana.", "Ecc., ecc.", "A 60 km/h.", "Il n. 7 vince.",
                          "Tel. 06 1234567.", "IVA inclusa.", "L'ISTAT pubblica."],
        "punctuation": ["Davvero?", "Fermati!", "Aspetta... cosa?", "Sì; no; forse.",
                        "«Ciao», disse lei.", "(Un inciso.)", "Uno - due - tre.", "Bene, bene, bene.",
                        "È vero? Sì! Lo è.", "A: primo; B: secondo.", "Disse: «no».",
                        "Rosso, verde e blu.", "Perché?! Perché no?", "Fine della riga.", "Mmm.",
                        "Il libro di Tom.", "Città e virtù.", "Cose: penne, carta, inchiostro.",
                        "Pronti, partenza, via!", "50/50."],
        "commands": ["Aspetta~P500 poi parla.", "~SGATTO viene compitato.", "Una breve~P200 pausa.",
                     "Compita ~SABC adesso.", "Un~P1000 secondo dopo.", "Un segno~M qui.",
                     "Due~P300 piccole~P300 pause.", "~SONU lettere.", "Prima~M1 e dopo.",
                     "Nessuna pausa~P0 qui."],
        "words": ["Quenvar Voxtrial parla.", "Il motore TTS funziona.", "Leggi il file.",
                  "Voxtrial prova la voce.", "Apri la finestra.", "Linux e Qt.", "Una voce eSpeak.",
                  "La parola pomodoro.", "Il weekend arriva.", "Una e-mail urgente.", "Il parcheggio è pieno.",
                  "Un panino al prosciutto.", "Il calcio stasera.", "Un lavoro a Roma.", "L'aggiornamento."],
    },
}


def cases(phrases, comma):
    """The cases of one language, grouped under comments."""
    def decimal(text):
        return text.replace(".", ",") if comma else text
    lines = ["# numbers"]
    lines += [phrases["number"].format(n=n) for n in NUMBERS]
    lines += [phrases["count"].format(n=n, m=NUMBERS[-1 - i]) for i, n in enumerate(NUMBERS)]
    lines += [phrases["year"].format(y=y) for y in YEARS]
    lines += [phrases["decimal"].format(d=d, dc=decimal(d)) for d in DECIMALS]
    lines += [phrases["percent"].format(p=decimal(p)) for p in ["5", "12.5", "100", "0.3", "1.5", "33", "99.9", "250"]]
    lines += [phrases["money"].format(d=d, dc=decimal(d)) for d in ["4.99", "20", "1250.50"]]
    lines += [phrases["negative"].format(n=n) for n in [1, 5, 12, 40]]
    lines += phrases["ordinal"]
    for group in ["dates", "times", "abbreviations", "punctuation", "commands", "words"]:
        lines += ["", "# " + group] + phrases[group]
    return lines


def main():
    for code, phrases in LANGUAGES.items():
        comma = code != "en-us"
        body = cases(phrases, comma)
        count = sum(1 for line in body if line and not line.startswith("#"))
        header = [f"# Starter corpus, {code}: {count} short cases written for Quenvar Voxtrial.",
                  "# Licence: CC0 1.0 (see LICENSE beside this file). Made by make_starter.py.",
                  f"# language: {code}", ""]
        (HERE / f"starter-{code}.txt").write_text("\n".join(header + body) + "\n", encoding="utf-8")
        print(f"starter-{code}.txt: {count} cases")


main()
