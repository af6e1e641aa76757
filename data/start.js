// The start page's own script: the symbol of the day and the search over the meanings, both
// from symbols.js, the index that the build makes from the dictionary's source text. It reaches
// no network and builds every text with textContent, so a strict Content-Security-Policy
// (no inline script, no eval) holds.
(function () {
    'use strict';

    // One row per symbol, as the build writes them.
    var KEY = 0, PAGE = 1, KEY_WORDS = 2, TEXT = 3, LEAD = 4;
    var symbols = self.somnilexSymbols || [];

    // The build joins words with single spaces; padded at both ends, a whole word is then
    // always found as " word ", and "sea" never matches inside "season".
    var keyTexts = symbols.map(function (s) { return ' ' + s[KEY_WORDS] + ' '; });
    var meaningTexts = symbols.map(function (s) { return ' ' + s[TEXT] + ' '; });
    var NOWHERE = Number.MAX_SAFE_INTEGER;

    // The same cut into words as the build's: runs of letters and digits, lower case. The words
    // are the user's: kept in a Set, "constructor" is a word like any other, not a key that
    // every plain object inherits.
    function wordsOf(term) {
        var seen = new Set();
        return String(term).toLowerCase().split(/[^\p{L}\p{N}]+/u).filter(function (w) {
            if (!w || seen.has(w))
                return false;
            seen.add(w);
            return true;
        });
    }

    function occurrences(text, needle) {
        var count = 0;
        var first = NOWHERE;
        // The space that ends one hit may begin the next.
        for (var at = text.indexOf(needle); at >= 0; at = text.indexOf(needle, at + needle.length - 1)) {
            if (count === 0)
                first = at;
            count++;
        }
        return { count: count, first: first };
    }

    // Every symbol whose name or meaning holds every word of term, best first: named after the
    // words, then the most mentions, then the earliest mention, then A to Z.
    function search(term) {
        var words = wordsOf(term);
        if (words.length === 0)
            return [];
        var needles = words.map(function (w) { return ' ' + w + ' '; });
        var found = [];
        for (var i = 0; i < symbols.length; i++) {
            var inKey = true, count = 0, first = NOWHERE, every = true;
            for (var n = 0; n < needles.length; n++) {
                var named = keyTexts[i].indexOf(needles[n]) >= 0;
                var hits = occurrences(meaningTexts[i], needles[n]);
                if (!named && hits.count === 0) {
                    every = false;
                    break;
                }
                inKey = inKey && named;
                count += hits.count;
                first = Math.min(first, hits.first);
            }
            if (every)
                found.push({ index: i, key: symbols[i][KEY], page: symbols[i][PAGE], inKey: inKey,
                             count: count, first: first });
        }
        found.sort(function (a, b) {
            return (b.inKey - a.inKey) || (b.count - a.count) || (a.first - b.first)
                || (a.index - b.index);
        });
        return found;
    }

    // Days counted by the local calendar, so that the symbol changes at local midnight.
    function dayNumber(date) {
        return Math.floor(Date.UTC(date.getFullYear(), date.getMonth(), date.getDate()) / 86400000);
    }

    function gcd(a, b) {
        while (b) {
            var t = a % b;
            a = b;
            b = t;
        }
        return a;
    }

    // A step with no factor in common with the number of symbols visits every symbol once
    // before any comes back, and days side by side land far apart in the alphabet.
    function stride(n) {
        var step = Math.max(1, Math.round(n * 0.618));
        while (gcd(step, n) !== 1)
            step++;
        return step;
    }

    function symbolOfTheDay(date) {
        var n = symbols.length;
        if (n === 0)
            return null;
        var day = ((dayNumber(date) % n) + n) % n;
        var s = symbols[(day * stride(n)) % n];
        return { key: s[KEY], page: s[PAGE], lead: s[LEAD] };
    }

    function element(name, className, text) {
        var e = document.createElement(name);
        if (className)
            e.className = className;
        if (text !== undefined)
            e.textContent = text;
        return e;
    }

    function link(page, text) {
        var a = element('a', '', text);
        a.href = page;
        return a;
    }

    function showToday() {
        var box = document.getElementById('today');
        var today = new Date();
        var chosen = symbolOfTheDay(today);
        if (!box || !chosen)
            return;
        box.textContent = '';
        box.appendChild(element('p', 'date', today.toLocaleDateString('en-GB', {
            weekday: 'long', day: 'numeric', month: 'long', year: 'numeric' })));
        var heading = element('h3', 'today-key');
        heading.appendChild(link(chosen.page, chosen.key));
        box.appendChild(heading);
        box.appendChild(element('p', 'lead', chosen.lead));
    }

    function mentions(result) {
        var parts = [];
        if (result.inKey)
            parts.push('in its name');
        if (result.count === 1)
            parts.push('mentioned once');
        else if (result.count > 1)
            parts.push('mentioned ' + result.count + ' times');
        return parts.join(', ');
    }

    // Results listed at once; a word as common as "you" finds nearly every symbol, and a list
    // that long takes the engine a good part of a second to lay out.
    var FIRST_LISTED = 50;
    var unlisted = [];

    function listResults(results) {
        var list = document.getElementById('find-results');
        var fragment = document.createDocumentFragment();
        results.forEach(function (r) {
            var item = element('li');
            item.appendChild(link(r.page, r.key));
            item.appendChild(element('span', 'hits', ' \u2013 ' + mentions(r)));
            fragment.appendChild(item);
        });
        list.appendChild(fragment);
    }

    // The sentence with the typed term quoted in it. The term keeps its own direction inside an
    // isolate, so a right-to-left word, or a stray direction override, leaves the rest of the
    // sentence reading as written.
    function tellAbout(status, before, term, after) {
        status.textContent = '';
        status.appendChild(document.createTextNode(before + '\u201c'));
        status.appendChild(element('bdi', '', term));
        status.appendChild(document.createTextNode('\u201d' + after));
    }

    function showResults(term) {
        var status = document.getElementById('find-status');
        var list = document.getElementById('find-results');
        var more = document.getElementById('find-more');
        var shown = String(term).trim();
        var results = search(shown);
        list.textContent = '';
        more.hidden = true;
        unlisted = results.slice(FIRST_LISTED);
        if (wordsOf(shown).length === 0) {
            status.textContent = shown ? 'Type a word made of letters or digits.' : '';
            return results;
        }
        listResults(results.slice(0, FIRST_LISTED));
        if (results.length === 0)
            tellAbout(status, 'No symbol mentions ', shown, '.');
        else if (results.length === 1)
            tellAbout(status, '1 symbol mentions ', shown, '.');
        else
            tellAbout(status, results.length + ' symbols mention ', shown, ', best matches first.'
                + (unlisted.length ? ' The first ' + FIRST_LISTED + ' are listed.' : ''));
        if (unlisted.length) {
            more.textContent = 'List all ' + results.length + ' symbols';
            more.hidden = false;
        }
        return results;
    }

    function listTheRest() {
        var list = document.getElementById('find-results');
        var firstNew = list.children.length;
        listResults(unlisted);
        unlisted = [];
        document.getElementById('find-more').hidden = true;
        // The button goes away under the keyboard's focus; the first new result takes it.
        var next = list.children[firstNew];
        if (next)
            next.querySelector('a').focus();
    }

    function start() {
        showToday();
        var form = document.getElementById('find-form');
        var field = document.getElementById('find-term');
        if (!form || !field)
            return;
        form.hidden = false;
        form.addEventListener('submit', function (event) {
            event.preventDefault();
            showResults(field.value);
        });
        field.addEventListener('input', function () {
            showResults(field.value);
        });
        document.getElementById('find-more').addEventListener('click', listTheRest);
    }

    // For the program's tests and bench, which time and check the very code that users run.
    self.SomnilexStart = Object.freeze({
        search: search,
        symbolOfTheDay: symbolOfTheDay,
        showResults: showResults,
        listTheRest: listTheRest
    });

    if (document.readyState === 'loading')
        document.addEventListener('DOMContentLoaded', start);
    else
        start();
})();
