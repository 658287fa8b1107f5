#!/usr/bin/env python3
"""Writes the tag library and its reference pages from the one table below.

    scripts/gen-tags.py            write data/Library/Tags/ and data/Help/Tags/
    scripts/gen-tags.py --check    exit 1 when the files on disk differ

Outputs (all Windows-1251, CR LF line ends):
  data/Library/Tags/tags.pel       the list: ">" group headers and tag names
  data/Library/Tags/<NAME>.pel     one description per tag ([Info] and [Params])
  data/Help/Tags/<name>.html       one reference page per tag
  data/Help/Tags/index.html        the index of the reference

Edit the table, run the script, commit the results together: the list, the
descriptions and the pages then cannot drift apart. Files of the two folders
that the table no longer names are removed.
"""
import html
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TAGS_DIR = os.path.join(ROOT, "data", "Library", "Tags")
HELP_DIR = os.path.join(ROOT, "data", "Help", "Tags")

# The global attributes every element in the body takes, written after its own.
GLOBAL = ["class", "id", "style", "title"]

# Meaning of each attribute, and the values it takes where they are a short list.
ATTR = {
    "abbr": "краткая форма заголовка для экранных дикторов",
    "accept": "типы файлов, которые предлагает выбрать поле (например image/*, .pdf)",
    "accept-charset": "кодировки, в которых форма отправляет данные",
    "accesskey": "клавиша быстрого доступа к элементу",
    "action": "адрес программы на сервере, которая принимает данные формы",
    "align": "выравнивание (устаревший атрибут, лучше CSS): left, center, right, justify",
    "allow": "разрешения встроенной странице (например fullscreen)",
    "allowfullscreen": "разрешить полноэкранный режим; значение allowfullscreen",
    "alt": "текст вместо картинки: его читают экранные дикторы и поисковики",
    "async": "загружать скрипт параллельно со страницей; значение async",
    "autocomplete": "подсказки браузера при вводе: on или off",
    "autofocus": "поле получает фокус при открытии страницы; значение autofocus",
    "autoplay": "воспроизводить сразу после загрузки; значение autoplay",
    "bgcolor": "цвет фона (устаревший атрибут), например #FFFFFF",
    "border": "толщина рамки в пикселях",
    "cellpadding": "отступ текста от границы ячейки, в пикселях",
    "cellspacing": "расстояние между ячейками, в пикселях",
    "charset": "кодировка документа, например windows-1251 или utf-8",
    "checked": "флажок или переключатель включён; значение checked",
    "cite": "адрес источника цитаты или причины правки",
    "color": "цвет текста: имя (red) или #RRGGBB",
    "cols": "ширина поля в символах",
    "colspan": "на сколько столбцов растягивается ячейка",
    "content": "значение метаданных",
    "contenteditable": "пользователь может править содержимое: true или false",
    "controls": "показать кнопки управления плеером; значение controls",
    "coords": "координаты области: для rect x1,y1,x2,y2; для circle x,y,r; для poly пары x,y",
    "crossorigin": "запрос к чужому сайту: anonymous или use-credentials",
    "data": "адрес встраиваемого файла",
    "datetime": "дата и время в машинном виде, например 2024-05-01 или 2024-05-01T10:00",
    "decoding": "как декодировать картинку: sync, async или auto",
    "defer": "выполнить скрипт после разбора страницы; значение defer",
    "dir": "направление текста: ltr, rtl или auto",
    "disabled": "элемент недоступен; значение disabled",
    "download": "скачивать файл по ссылке, а не открывать; значение задаёт имя файла",
    "draggable": "элемент можно перетаскивать: true или false",
    "enctype": "способ кодирования данных формы: application/x-www-form-urlencoded, multipart/form-data (для файлов), text/plain",
    "face": "название шрифта, можно несколько через запятую",
    "for": "id поля, к которому относится подпись или результат",
    "form": "id формы, к которой относится элемент вне её",
    "formaction": "адрес отправки для этой кнопки вместо action формы",
    "headers": "id ячеек-заголовков, к которым относится ячейка",
    "height": "высота в пикселях",
    "hidden": "скрыть элемент; значение hidden",
    "high": "граница высоких значений шкалы",
    "href": "адрес, на который ведёт ссылка или который подключается",
    "hreflang": "язык документа по ссылке",
    "http-equiv": "заголовок HTTP, который заменяет метатег (например refresh)",
    "id": "уникальное имя элемента на странице: для ссылок #имя, CSS и скриптов",
    "class": "имя класса CSS (можно несколько через пробел)",
    "style": "стиль CSS прямо у элемента, например color: red",
    "title": "всплывающая подсказка",
    "kind": "вид дорожки: subtitles, captions, descriptions, chapters, metadata",
    "label": "подпись пункта или дорожки",
    "lang": "язык содержимого, например ru или en",
    "list": "id списка подсказок datalist",
    "loading": "отложенная загрузка: lazy или eager",
    "loop": "повторять воспроизведение; значение loop",
    "low": "граница низких значений шкалы",
    "max": "наибольшее значение",
    "maxlength": "наибольшее число символов",
    "media": "для каких устройств и экранов (медиазапрос), например screen, print",
    "method": "способ отправки формы: get или post",
    "min": "наименьшее значение",
    "minlength": "наименьшее число символов",
    "multiple": "можно выбрать несколько значений; значение multiple",
    "muted": "без звука; значение muted",
    "name": "имя элемента: под ним значение уходит на сервер (у A - имя якоря)",
    "nomodule": "не выполнять в браузерах с поддержкой модулей; значение nomodule",
    "novalidate": "не проверять поля перед отправкой; значение novalidate",
    "open": "раскрыт при открытии страницы; значение open",
    "optimum": "лучшее значение шкалы",
    "pattern": "регулярное выражение, которому должно соответствовать значение",
    "placeholder": "серая подсказка в пустом поле",
    "poster": "картинка, которую видно до начала воспроизведения",
    "preload": "что загружать заранее: none, metadata или auto",
    "readonly": "значение нельзя изменить; значение readonly",
    "referrerpolicy": "что сообщать сайту о странице-источнике, например no-referrer",
    "rel": "связь с документом: stylesheet, icon, nofollow, noopener, alternate и др.",
    "required": "поле обязательно для заполнения; значение required",
    "reversed": "нумерация по убыванию; значение reversed",
    "rows": "высота поля в строках",
    "rowspan": "на сколько строк растягивается ячейка",
    "sandbox": "ограничения встроенной страницы, например allow-scripts",
    "scope": "к чему относится заголовок: row, col, rowgroup, colgroup",
    "selected": "пункт выбран сразу; значение selected",
    "shape": "форма области: rect, circle (circ), poly или default",
    "size": "размер: у шрифта от 1 до 7 (или +1, -1), у поля - ширина в символах, у списка - число видимых строк",
    "sizes": "размеры картинки при разной ширине экрана",
    "span": "сколько столбцов охватывает элемент",
    "src": "адрес файла (картинки, скрипта, видео, страницы)",
    "srcdoc": "HTML-код встроенной страницы прямо в атрибуте",
    "srclang": "язык дорожки, например ru",
    "srcset": "варианты картинки для разных экранов: файл и ширина (400w) или плотность (2x)",
    "start": "с какого номера начинать нумерацию",
    "step": "шаг значения",
    "tabindex": "порядок перехода по клавише Tab",
    "target": "где открыть: _blank (новое окно), _self, _parent, _top или имя фрейма",
    "type": "тип: у поля ввода text, password, checkbox, radio, submit, file, hidden и др.; у списка 1, a, A, i, I; у файла - его MIME-тип",
    "usemap": "имя карты ссылок (#имя), которая действует на картинке",
    "valign": "вертикальное выравнивание (устаревший атрибут): top, middle, bottom, baseline",
    "value": "значение элемента",
    "width": "ширина в пикселях или процентах",
    "wrap": "перенос строк при отправке: soft или hard",
    "xmlns": "пространство имён XML (для XHTML: http://www.w3.org/1999/xhtml)",
    "manifest": "адрес манифеста приложения (устаревший)",
    "ping": "адреса, которые получат уведомление о переходе по ссылке",
    "integrity": "контрольная сумма подключаемого файла",
    "formmethod": "способ отправки для этой кнопки: get или post",
    "dirname": "имя, под которым отправится направление текста",
    "ismap": "серверная карта ссылок; значение ismap",
    "playsinline": "воспроизводить на телефоне внутри страницы; значение playsinline",
    "default": "дорожка включена по умолчанию; значение default",
    "summary": "краткое описание таблицы (устаревший атрибут)",
    "noshade": "линия без объёма; значение noshade (устаревший атрибут)",
    "compact": "сжатый список (устаревший атрибут)",
}

# One group per line of headers: (Russian header, tags). A tag is
# (NAME, comment, own attributes, attribute filled first, void, presets, example).
# Own attributes are a space-separated string; "-" before the list drops the
# global attributes (head elements). Presets are "attr=value" pairs.
def T(name, comment, attrs="", first=None, void=False, presets="", example=None):
    return dict(name=name, comment=comment, attrs=attrs, first=first, void=void, presets=presets,
                example=example)

GROUPS = [
    ("Документ", [
        T("HTML", "Корневой элемент: вся страница внутри него", "-lang manifest xmlns", "lang", presets="lang=ru",
          example="<!DOCTYPE html>\n<html lang=ru>\n<head>...</head>\n<body>...</body>\n</html>"),
        T("HEAD", "Заголовочная часть: сведения о странице, которые не видны в окне", "-",
          example="<head>\n<meta charset=utf-8>\n<title>Моя страница</title>\n</head>"),
        T("TITLE", "Название страницы: видно в заголовке окна и в закладках", "-",
          example="<title>Прайс-лист на май</title>"),
        T("META", "Метаданные страницы: кодировка, описание, ключевые слова", "-charset name content http-equiv",
          "charset", True, example="<meta charset=utf-8>\n<meta name=description content=\"Цены на наши товары\">"),
        T("LINK", "Подключение внешнего ресурса: таблицы стилей, значка сайта", "-rel href type media hreflang sizes crossorigin integrity",
          "href", True, presets="rel=stylesheet", example="<link rel=stylesheet href=\"style.css\">"),
        T("BASE", "Базовый адрес для всех относительных ссылок страницы", "-href target", "href", True,
          example="<base href=\"http://example.com/docs/\">"),
        T("STYLE", "Таблица стилей CSS внутри страницы", "-media type",
          example="<style>\nh1 { color: navy }\n</style>"),
        T("BODY", "Тело страницы: всё, что видно в окне браузера", "bgcolor",
          example="<body>\n<h1>Здравствуйте!</h1>\n</body>"),
    ]),
    ("Разделы", [
        T("HEADER", "Шапка страницы или раздела: логотип, заголовок, навигация"),
        T("NAV", "Блок навигации: главное меню сайта, оглавление"),
        T("MAIN", "Основное содержание страницы (один раз на странице)"),
        T("ARTICLE", "Самостоятельная статья, запись блога, новость"),
        T("SECTION", "Тематический раздел документа, обычно с заголовком"),
        T("ASIDE", "Побочный материал: врезка, боковая колонка"),
        T("FOOTER", "Подвал страницы или раздела: автор, копирайт, контакты"),
        T("ADDRESS", "Контактные сведения автора или владельца страницы"),
        T("H1", "Заголовок первого уровня (самый крупный)", "align", example="<h1>Глава первая</h1>"),
        T("H2", "Заголовок второго уровня", "align"),
        T("H3", "Заголовок третьего уровня", "align"),
        T("H4", "Заголовок четвёртого уровня", "align"),
        T("H5", "Заголовок пятого уровня", "align"),
        T("H6", "Заголовок шестого уровня (самый мелкий)", "align"),
        T("DIV", "Блок без особого смысла: контейнер для оформления через CSS", "align"),
    ]),
    ("Текст", [
        T("P", "Абзац текста", "align", example="<p>Первый абзац.</p>\n<p>Второй абзац.</p>"),
        T("BR", "Перевод строки внутри абзаца", void=True, example="Москва,<br>ул. Тверская, 1"),
        T("HR", "Горизонтальная линия: смена темы", "align width size noshade color", void=True,
          example="<p>Конец главы.</p>\n<hr>"),
        T("PRE", "Текст с сохранением пробелов и переводов строк, моноширинным шрифтом",
          example="<pre>\nстрока 1\n    строка 2\n</pre>"),
        T("BLOCKQUOTE", "Большая цитата отдельным блоком", "cite", "cite"),
        T("Q", "Короткая цитата внутри строки (браузер добавит кавычки)", "cite"),
        T("CITE", "Название произведения или источника", example="<cite>Война и мир</cite>"),
        T("CODE", "Фрагмент программного кода", example="Вызовите <code>alert()</code>"),
        T("KBD", "Клавиши, которые нажимает пользователь", example="Нажмите <kbd>Ctrl+S</kbd>"),
        T("SAMP", "Пример вывода программы", example="<samp>Файл не найден</samp>"),
        T("VAR", "Переменная в формуле или программе"),
        T("EM", "Выделение голосом: смысловой акцент (курсивом)"),
        T("STRONG", "Важный текст (полужирным)"),
        T("SMALL", "Мелкий шрифт: примечания, оговорки"),
        T("MARK", "Выделенный маркером текст: найденное, отмеченное"),
        T("ABBR", "Сокращение; расшифровку пишут в title"),
        T("DFN", "Термин, который здесь определяется"),
        T("TIME", "Дата или время в машинно-читаемом виде", "datetime", "datetime",
          example="<time datetime=2024-05-01>1 мая</time>"),
        T("DATA", "Значение с машинно-читаемым вариантом", "value", "value"),
        T("SPAN", "Кусок текста без особого смысла: для оформления через CSS"),
        T("INS", "Вставленный при правке текст", "cite datetime"),
        T("DEL", "Удалённый при правке текст (зачёркнут)", "cite datetime"),
        T("BDI", "Текст с независимым направлением письма"),
        T("BDO", "Текст с принудительным направлением письма", "dir", "dir", presets="dir=rtl"),
        T("WBR", "Место, где можно перенести длинное слово", "-", void=True),
        T("RUBY", "Текст с надстрочной аннотацией (произношение)"),
        T("RT", "Аннотация внутри RUBY"),
    ]),
    ("Шрифт", [
        T("B", "Полужирный текст", example="<b>Внимание!</b>"),
        T("I", "Курсив", example="<i>Вот так</i>"),
        T("U", "Подчёркнутый текст"),
        T("S", "Зачёркнутый текст: уже неверно или неактуально"),
        T("SUP", "Надстрочный текст: степень, сноска", example="E = mc<sup>2</sup>"),
        T("SUB", "Подстрочный текст: индекс", example="H<sub>2</sub>O"),
        T("FONT", "Шрифт: гарнитура, размер и цвет текста (устаревший тег, лучше CSS)", "face size color", "face",
          example="<font face=Arial size=4 color=#CC0000>Распродажа</font>"),
        T("CENTER", "Выравнивание по центру (устаревший тег, лучше CSS)"),
    ]),
    ("Списки", [
        T("UL", "Маркированный список", "type compact", example="<ul>\n<li>Хлеб</li>\n<li>Молоко</li>\n</ul>"),
        T("OL", "Нумерованный список", "type start reversed", example="<ol start=3>\n<li>третий</li>\n<li>четвёртый</li>\n</ol>"),
        T("LI", "Пункт списка", "value type"),
        T("DL", "Список определений: термины и их описания",
          example="<dl>\n<dt>HTML</dt>\n<dd>Язык разметки страниц</dd>\n</dl>"),
        T("DT", "Термин в списке определений"),
        T("DD", "Описание термина в списке определений"),
    ]),
    ("Ссылки и рисунки", [
        T("A", "Гиперссылка или якорь", "href target name rel download hreflang type ping referrerpolicy", "href",
          example="<a href=\"contacts.html\" target=_blank>Контакты</a>"),
        T("IMG", "Рисунок", "src alt width height srcset sizes loading decoding usemap ismap border align", "src",
          True, example="<img src=\"img/logo.png\" alt=Логотип width=120 height=60>"),
        T("PICTURE", "Рисунок с вариантами для разных экранов (SOURCE и IMG внутри)"),
        T("SOURCE", "Вариант файла для PICTURE, VIDEO или AUDIO", "-src srcset type media sizes", "src", True),
        T("FIGURE", "Иллюстрация с подписью: рисунок, схема, листинг"),
        T("FIGCAPTION", "Подпись к FIGURE"),
        T("MAP", "Карта ссылок для картинки", "name", "name",
          example="<map name=plan>\n<area shape=rect coords=0,0,50,50 href=\"a.html\" alt=Север>\n</map>"),
        T("AREA", "Область-ссылка карты MAP", "shape coords href alt target download rel", "shape", True,
          presets="shape=rect"),
        T("IFRAME", "Встроенная страница", "src name width height allow allowfullscreen loading sandbox srcdoc referrerpolicy", "src",
          example="<iframe src=\"map.html\" width=400 height=300></iframe>"),
        T("EMBED", "Встроенный внешний объект (плагин)", "src type width height", "src", True),
        T("OBJECT", "Внешний объект: документ, плагин", "data type name width height form usemap", "data"),
        T("VIDEO", "Видеоролик", "src poster width height controls autoplay loop muted preload playsinline crossorigin", "src",
          example="<video src=\"film.mp4\" controls=controls width=640></video>"),
        T("AUDIO", "Звук", "src controls autoplay loop muted preload crossorigin", "src"),
        T("TRACK", "Дорожка субтитров для VIDEO или AUDIO", "-src kind srclang label default", "src", True,
          presets="kind=subtitles"),
        T("CANVAS", "Область для рисования скриптом", "width height", "width"),
    ]),
    ("Таблицы", [
        T("TABLE", "Таблица", "border cellpadding cellspacing width align bgcolor summary", "border",
          example="<table border=1>\n<tr><th>Товар</th><th>Цена</th></tr>\n<tr><td>Хлеб</td><td>40</td></tr>\n</table>"),
        T("CAPTION", "Заголовок таблицы", "align"),
        T("COLGROUP", "Группа столбцов таблицы", "span width"),
        T("COL", "Столбец таблицы (для оформления)", "span width", void=True),
        T("THEAD", "Шапка таблицы: строки заголовков"),
        T("TBODY", "Тело таблицы: строки данных"),
        T("TFOOT", "Подвал таблицы: итоги"),
        T("TR", "Строка таблицы", "align valign bgcolor", example="<tr><td>1</td><td>2</td></tr>"),
        T("TH", "Ячейка-заголовок таблицы", "colspan rowspan scope headers abbr align valign width bgcolor"),
        T("TD", "Ячейка таблицы", "colspan rowspan headers align valign width height bgcolor",
          example="<td colspan=2 align=center>Итого</td>"),
    ]),
    ("Формы", [
        T("FORM", "Форма: поля ввода, которые отправляются на сервер", "action method enctype name target accept-charset autocomplete novalidate",
          "action", presets="method=post",
          example="<form action=\"send.php\" method=post>\n<input type=text name=login>\n<input type=submit value=Войти>\n</form>"),
        T("INPUT", "Поле ввода: текст, пароль, флажок, переключатель, кнопка, файл",
          "type name value size maxlength placeholder checked disabled readonly required autofocus autocomplete min max step pattern list accept multiple form src alt",
          "name", True, presets="type=text", example="<input type=checkbox name=agree value=1 checked=checked>"),
        T("BUTTON", "Кнопка", "type name value disabled form formaction formmethod autofocus", "type", presets="type=submit",
          example="<button type=submit>Отправить</button>"),
        T("LABEL", "Подпись к полю ввода: щелчок по ней переводит в поле", "for form", "for",
          example="<label for=mail>Почта:</label> <input type=email id=mail name=mail>"),
        T("SELECT", "Раскрывающийся список", "name size multiple disabled required form autofocus", "name",
          example="<select name=city>\n<option value=msk>Москва</option>\n<option value=spb selected=selected>Петербург</option>\n</select>"),
        T("OPTION", "Пункт списка SELECT или DATALIST", "value selected disabled label", "value"),
        T("OPTGROUP", "Группа пунктов списка SELECT", "label disabled", "label"),
        T("DATALIST", "Список подсказок для поля ввода (связь через атрибут list)"),
        T("TEXTAREA", "Многострочное поле ввода", "name rows cols maxlength placeholder wrap disabled readonly required form autofocus",
          "name", presets="rows=5 cols=40", example="<textarea name=message rows=5 cols=40></textarea>"),
        T("FIELDSET", "Группа полей формы в рамке", "name disabled form"),
        T("LEGEND", "Заголовок группы FIELDSET"),
        T("OUTPUT", "Результат вычисления в форме", "for name form", "for"),
        T("PROGRESS", "Индикатор выполнения", "value max", "value", presets="max=100"),
        T("METER", "Шкала значения в известных пределах", "value min max low high optimum", "value"),
    ]),
    ("Интерактивные", [
        T("DETAILS", "Раскрывающийся блок с подробностями", "open",
          example="<details>\n<summary>Подробнее</summary>\n<p>Скрытый текст.</p>\n</details>"),
        T("SUMMARY", "Заголовок блока DETAILS, по щелчку раскрывает его"),
        T("DIALOG", "Диалоговое окно", "open"),
    ]),
    ("Скрипты", [
        T("SCRIPT", "Сценарий JavaScript: внутри страницы или из файла", "-src type async defer crossorigin integrity nomodule", "src",
          example="<script src=\"menu.js\"></script>"),
        T("NOSCRIPT", "Содержимое для браузеров с выключенными скриптами"),
        T("TEMPLATE", "Шаблон разметки для скриптов: браузер его не показывает"),
    ]),
]

VOID_NOTE = "У тега нет закрывающей пары."


def tag_params(tag):
    attrs = tag["attrs"]
    with_globals = not attrs.startswith("-")
    own = attrs.lstrip("-").split()
    params = own + ([a for a in GLOBAL if a not in own] if with_globals else [])
    presets = dict(p.split("=", 1) for p in tag["presets"].split()) if tag["presets"] else {}
    for key in presets:
        assert key in params, (tag["name"], key)
    return params, presets


def help_topic(tag):
    return tag["name"].lower() + ".html"


def crlf(lines):
    return "".join(line + "\r\n" for line in lines)


def description_file(tag):
    params, presets = tag_params(tag)
    default = params.index(tag["first"]) if tag["first"] else 0
    lines = ["[Info]",
             "Comment=" + tag["comment"],
             "CloseTag=" + ("no" if tag["void"] else "yes"),
             "Default=%d" % default,
             "Help=" + help_topic(tag)]
    if params:
        lines.append("[Params]")
        lines += [p + "=" + presets.get(p, "") for p in params]
    return crlf(lines)


def list_file():
    lines = []
    for header, tags in GROUPS:
        lines.append(">" + header)
        lines += [t["name"] for t in tags]
    return crlf(lines)


def page(title, body):
    head = ["<!DOCTYPE html>",
            "<html lang=\"ru\">",
            "<head>",
            "<meta charset=\"windows-1251\">",
            "<title>" + html.escape(title) + "</title>",
            "<style>body{font-family:sans-serif;max-width:50em;margin:1em auto;padding:0 1em}"
            "pre{background:#f4f4f4;padding:.5em}td,th{padding:2px 8px;vertical-align:top;text-align:left}"
            "th{background:#eee}</style>",
            "</head>",
            "<body>"]
    return crlf(head + body + ["</body>", "</html>"])


def example_of(tag):
    if tag["example"]:
        return tag["example"]
    name = tag["name"].lower()
    if tag["void"]:
        return "<%s>" % name
    return "<%s>текст</%s>" % (name, name)


def tag_page(tag):
    params, presets = tag_params(tag)
    name = tag["name"]
    body = ["<p><a href=\"index.html\">Все теги</a></p>",
            "<h1>&lt;%s&gt;</h1>" % name,
            "<p>" + html.escape(tag["comment"]) + ".</p>",
            "<p>" + (VOID_NOTE if tag["void"] else "Закрывающий тег: &lt;/%s&gt;." % name) + "</p>"]
    if params:
        body += ["<h2>Атрибуты</h2>", "<table>", "<tr><th>Атрибут</th><th>Назначение</th></tr>"]
        for p in params:
            meaning = html.escape(ATTR[p])
            if p in presets:
                meaning += " (в панели заранее стоит " + html.escape(presets[p]) + ")"
            body.append("<tr><td><code>%s</code></td><td>%s</td></tr>" % (p, meaning))
        body.append("</table>")
    body += ["<h2>Пример</h2>", "<pre>" + html.escape(example_of(tag), quote=False) + "</pre>"]
    return page("Тег " + name, body)


def index_page():
    body = ["<h1>Справочник по тегам HTML</h1>",
            "<p>Теги в том порядке, в каком их показывает панель вставки тега.</p>"]
    for header, tags in GROUPS:
        body += ["<h2>" + html.escape(header) + "</h2>", "<table>"]
        for t in tags:
            body.append("<tr><td><a href=\"%s\">%s</a></td><td>%s</td></tr>"
                        % (help_topic(t), t["name"], html.escape(t["comment"])))
        body.append("</table>")
    return page("Справочник по тегам HTML", body)


def outputs():
    files = {os.path.join(TAGS_DIR, "tags.pel"): list_file(),
             os.path.join(HELP_DIR, "index.html"): index_page()}
    seen = set()
    for _, tags in GROUPS:
        for t in tags:
            assert t["name"] not in seen, t["name"]
            seen.add(t["name"])
            files[os.path.join(TAGS_DIR, t["name"] + ".pel")] = description_file(t)
            files[os.path.join(HELP_DIR, help_topic(t))] = tag_page(t)
    return {path: text.encode("cp1251") for path, text in files.items()}


def stale(files):
    found = []
    for folder, ext in ((TAGS_DIR, ".pel"), (HELP_DIR, ".html")):
        if os.path.isdir(folder):
            for name in os.listdir(folder):
                path = os.path.join(folder, name)
                if name.endswith(ext) and path not in files:
                    found.append(path)
    return found


def main():
    files = outputs()
    if "--check" in sys.argv[1:]:
        bad = [p for p, data in files.items() if not os.path.exists(p) or open(p, "rb").read() != data]
        bad += stale(files)
        for p in bad:
            print("out of date:", os.path.relpath(p, ROOT))
        return 1 if bad else 0
    for path in stale(files):
        os.remove(path)
    for path, data in files.items():
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    print("wrote %d files" % len(files))
    return 0


if __name__ == "__main__":
    sys.exit(main())
