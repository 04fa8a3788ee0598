#!/usr/bin/python3
"""Writes tests/data/encodings/NAME.txt, a few sentences of text in an encoding (Python's codecs),
and NAME.expected, the text the program must show for it, in UTF-8. The outputs are committed;
run this again only to change them."""

import os

RUSSIAN_1 = ("Вчера вечером мы долго гуляли по набережной и разговаривали о старых книгах. "
             "Осенний ветер гнал по воде мелкие волны, а в окнах домов уже зажигались огни. "
             "Мой друг рассказал, что в детстве он мечтал стать капитаном дальнего плавания, "
             "но потом увлёкся типографикой и теперь рисует шрифты для журналов. "
             "Мы зашли в маленькое кафе, заказали чай с лимоном и просидели там почти до полуночи.\n")
RUSSIAN_2 = ("Письмо пришло в понедельник утром, когда вся семья ещё сидела за завтраком. "
             "Бабушка надела очки, внимательно прочитала адрес и только потом осторожно разрезала конверт ножом. "
             "Оказалось, что двоюродный брат из Новосибирска собирается приехать к нам летом вместе с женой "
             "и двумя детьми. Все сразу начали обсуждать, где их разместить и куда повезти в первую очередь.\n")
GREEK = ("Το καλοκαίρι πήγαμε για πρώτη φορά στη Νάξο με το πλοίο από τον Πειραιά. "
         "Το ταξίδι κράτησε σχεδόν έξι ώρες, αλλά η θάλασσα ήταν ήρεμη και ο ουρανός καθαρός. "
         "Μείναμε σε ένα μικρό σπίτι κοντά στην παραλία, όπου κάθε πρωί ο ιδιοκτήτης μας έφερνε "
         "φρέσκο ψωμί και σύκα από τον κήπο του. "
         "Τα βράδια τρώγαμε ψάρι στην ταβέρνα του λιμανιού και μιλούσαμε με τους ψαράδες.\n")
JAPANESE_1 = ("昨日の午後、友人と一緒に古い本屋を訪ねました。"
              "店の奥には、昭和の初めに印刷された雑誌がたくさん並んでいて、表紙の文字の形がとても美しかったです。"
              "店主のおじいさんは、活字を一つずつ組んで本を作っていた時代の話を、楽しそうに聞かせてくれました。"
              "帰りに駅前の喫茶店でコーヒーを飲みながら、買ったばかりの本を二人で読みました。\n")
JAPANESE_2 = ("来週の月曜日から、新しい事務所で働くことになりました。"
              "駅から歩いて五分ほどの場所にあり、窓からは川と桜並木が見えます。"
              "引っ越しの準備はまだ終わっていませんが、机と本棚だけは先に運んでおきました。"
              "皆さんも近くに来ることがあれば、ぜひ気軽に立ち寄ってください。お茶とお菓子を用意してお待ちしています。\n")
CHINESE_SIMPLIFIED = ("上个周末，我和家人一起去了郊外的一个小村庄。那里的空气非常清新，田野里开满了黄色的油菜花。"
                      "我们在村口的小饭馆吃了午饭，老板娘做的红烧鱼和炒青菜都很好吃。"
                      "下午我们沿着河边散步，看见几个孩子在水边钓鱼，还有一位老人坐在树下拉二胡。"
                      "回家的路上，大家都说下次还要再来。\n")
CHINESE_TRADITIONAL = ("今天早上下了一場大雨，街上的行人都撐著雨傘匆匆走過。我在公車站等車的時候，看見一隻小貓躲在書報攤的屋簷下。"
                       "賣報紙的阿姨拿了一塊毛巾，輕輕地把牠身上的水擦乾。"
                       "後來雨停了，太陽從雲層後面露出來，整個城市好像被洗過一樣乾淨。\n")
KOREAN = ("어제 저녁에 오랜만에 대학교 친구들을 만났습니다. "
          "우리는 학교 앞의 작은 식당에서 김치찌개와 불고기를 먹으며 옛날 이야기를 나누었습니다. "
          "한 친구는 작년에 결혼을 했고, 다른 친구는 회사를 그만두고 빵집을 열었다고 합니다. "
          "식사가 끝난 뒤에는 근처 공원을 천천히 걸으면서 서로의 계획에 대해 이야기했습니다.\n")
# Curly quotes, €, œ and …: bytes 80..9F, where Windows-1252 is not ISO-8859-1.
FRENCH = ("Hier soir, nous avons dîné chez Élodie, qui venait d’emménager dans un appartement près du canal. "
          "« C’est petit, mais très lumineux », nous a-t-elle dit en ouvrant la fenêtre. "
          "Le repas n’a coûté que 25 € pour quatre : une soupe à l’oignon, du bœuf bourguignon "
          "et une tarte aux pommes… Nous sommes rentrés à pied, sous une pluie fine.\n")
# Ends in "é" (E9) with no line end, which is not a UTF-8 sequence cut short.
SPANISH = ("El verano pasado viajamos en tren desde Madrid hasta Sevilla. Durante el viaje, mi hermana leyó "
           "una novela entera mientras yo miraba los campos de olivos por la ventana. Por la noche paseamos "
           "por el barrio de Santa Cruz y cenamos en una pequeña terraza junto a la catedral. "
           "¡Qué ciudad tan bonita! Mañana iremos a Córdoba y después a Granada a tomar un café")
GERMAN = ("Am Wochenende haben wir die Großeltern in Lübeck besucht. Oma hatte einen Apfelkuchen gebacken, "
          "und Opa zeigte uns stolz seine alten Fotoalben 👍. Auf einem Bild aus dem Jahr 1962 stand er "
          "vor der Werft, in der er über vierzig Jahre gearbeitet hat.\n")
MIXED = "Font check: Ελληνικά, русский, 日本語, 한국어 and “quotes” — all in one file. Emoji: 😀 👍🏽, ligature: ﬁ.\n"
CUT = "Le billet coûte 12 € aller-retour. Total pour deux : 24 "
STRAY_AT = RUSSIAN_1.index("и ")

SAMPLES = {  # name: (bytes, text)
    **{name: (text.encode(codec), text) for name, text, codec in [
        ("koi8-r", RUSSIAN_1, "koi8_r"), ("windows-1251", RUSSIAN_2, "cp1251"), ("iso-8859-7", GREEK, "iso8859_7"),
        ("shift_jis", JAPANESE_1, "shift_jis"), ("euc-jp", JAPANESE_2, "euc_jp"),
        ("gb18030", CHINESE_SIMPLIFIED, "gb18030"), ("big5", CHINESE_TRADITIONAL, "big5"),
        ("euc-kr", KOREAN, "euc_kr"), ("windows-1252", FRENCH, "cp1252"), ("iso-8859-1", SPANISH, "latin_1"),
        ("utf-8", MIXED, "utf-8"), ("utf-8 marked", MIXED, "utf-8-sig"),
        ("utf-16le marked", "\ufeff" + MIXED, "utf-16-le"), ("utf-16be marked", "\ufeff" + KOREAN, "utf-16-be"),
        ("utf-32le marked", "\ufeff" + MIXED, "utf-32-le"), ("utf-32be marked", "\ufeff" + MIXED, "utf-32-be"),
        ("utf-16le unmarked", GERMAN, "utf-16-le"), ("utf-16be unmarked", RUSSIAN_2, "utf-16-be")]},
    # The last character, a euro sign, lost its last byte.
    "utf-8 cut at the end": (CUT.encode() + "€".encode()[:2], CUT + "\ufffd"),
    # A Windows-1252 apostrophe (92) pasted into UTF-8 text.
    "utf-8 with one stray byte": (RUSSIAN_1[:STRAY_AT].encode() + b"\x92" + RUSSIAN_1[STRAY_AT:].encode(),
                                  RUSSIAN_1[:STRAY_AT] + "\ufffd" + RUSSIAN_1[STRAY_AT:]),
}

folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "encodings")
os.makedirs(folder, exist_ok=True)
for old in os.listdir(folder):
    os.remove(os.path.join(folder, old))
for name, (data, text) in SAMPLES.items():
    with open(os.path.join(folder, name + ".txt"), "wb") as fh:
        fh.write(data)
    with open(os.path.join(folder, name + ".expected"), "wb") as fh:
        fh.write(text.lstrip("\ufeff").encode())
