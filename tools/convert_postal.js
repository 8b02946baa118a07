#!/usr/bin/env node
// Converts the national postal-code list shipped by the npm package
// jquery-jpostal-ja into data/ken_all.tsv and data/ken_all_version.txt.
//
//   npm pack jquery-jpostal-ja && tar xzf jquery-jpostal-ja-*.tgz   (in /tmp)
//   node tools/convert_postal.js /tmp/package data
//
// The package holds one JSONP file per three-digit prefix (json/000.json ..
// json/999.json). Each row is
//   ["_NNNNNNN", pref, city, town, street, company, prefKana, cityKana, townKana]
// Rows with a company name are business offices and are left out; rows whose
// key is not seven digits are the package's own prefix summaries and info row.
//
// Output (UTF-8, LF, one header line):
//   DantaiCode ZipCode5 ZipCode7 TodofukenKana City1Kana City2Kana
//   TodofukenKanji City1Kanji City2Kanji
// To keep the file small, the four prefecture/city columns are left empty when
// they repeat the row above (prefecture and city are never empty in the list).
// The package carries no local-government code, so DantaiCode stays empty;
// ZipCode5 is the three-digit part every seven-digit code keeps from the old
// code, padded with blanks to five characters as the published file pads
// three-digit old codes.
'use strict';

const fs = require('fs');
const path = require('path');

function fail(message) {
    process.stderr.write(`convert_postal: ${message}\n`);
    process.exit(1);
}

// Full-width katakana and symbols to the half-width forms the published list
// uses for its kana columns. Voiced and semi-voiced kana become base + mark.
const HALF_KANA = (() => {
    const plain = {
        'ァ': 'ｧ', 'ア': 'ｱ', 'ィ': 'ｨ', 'イ': 'ｲ', 'ゥ': 'ｩ', 'ウ': 'ｳ', 'ェ': 'ｪ', 'エ': 'ｴ', 'ォ': 'ｫ', 'オ': 'ｵ',
        'カ': 'ｶ', 'キ': 'ｷ', 'ク': 'ｸ', 'ケ': 'ｹ', 'コ': 'ｺ', 'サ': 'ｻ', 'シ': 'ｼ', 'ス': 'ｽ', 'セ': 'ｾ', 'ソ': 'ｿ',
        'タ': 'ﾀ', 'チ': 'ﾁ', 'ッ': 'ｯ', 'ツ': 'ﾂ', 'テ': 'ﾃ', 'ト': 'ﾄ', 'ナ': 'ﾅ', 'ニ': 'ﾆ', 'ヌ': 'ﾇ', 'ネ': 'ﾈ',
        'ノ': 'ﾉ', 'ハ': 'ﾊ', 'ヒ': 'ﾋ', 'フ': 'ﾌ', 'ヘ': 'ﾍ', 'ホ': 'ﾎ', 'マ': 'ﾏ', 'ミ': 'ﾐ', 'ム': 'ﾑ', 'メ': 'ﾒ',
        'モ': 'ﾓ', 'ャ': 'ｬ', 'ヤ': 'ﾔ', 'ュ': 'ｭ', 'ユ': 'ﾕ', 'ョ': 'ｮ', 'ヨ': 'ﾖ', 'ラ': 'ﾗ', 'リ': 'ﾘ', 'ル': 'ﾙ',
        'レ': 'ﾚ', 'ロ': 'ﾛ', 'ワ': 'ﾜ', 'ヲ': 'ｦ', 'ン': 'ﾝ', 'ー': 'ｰ', '・': '･', '「': '｢', '」': '｣', '、': '､',
        '。': '｡', '゛': 'ﾞ', '゜': 'ﾟ', 'ヰ': 'ｲ', 'ヱ': 'ｴ', 'ヮ': 'ﾜ', 'ヵ': 'ｶ', 'ヶ': 'ｹ',
    };
    const voiced = 'ガギグゲゴザジズゼゾダヂヅデドバビブベボ';
    const voicedBase = 'カキクケコサシスセソタチツテトハヒフヘホ';
    const semi = 'パピプペポ';
    const semiBase = 'ハヒフヘホ';
    const map = Object.assign({}, plain);
    for (let i = 0; i < voiced.length; ++i) map[voiced[i]] = plain[voicedBase[i]] + 'ﾞ';
    for (let i = 0; i < semi.length; ++i) map[semi[i]] = plain[semiBase[i]] + 'ﾟ';
    map['ヴ'] = 'ｳﾞ';
    map['ヷ'] = 'ﾜﾞ';
    map['ヺ'] = 'ｦﾞ';
    return map;
})();

function toHalfWidthKana(text) {
    let out = '';
    for (const ch of text) {
        const code = ch.codePointAt(0);
        if (HALF_KANA[ch] !== undefined) {
            out += HALF_KANA[ch];
        } else if (code >= 0x3041 && code <= 0x3096) {
            // Hiragana: through its katakana twin.
            out += toHalfWidthKana(String.fromCodePoint(code + 0x60));
        } else if (code >= 0xff01 && code <= 0xff5e) {
            // Full-width ASCII (digits, letters, parentheses, hyphen).
            out += String.fromCodePoint(code - 0xfee0);
        } else if (code === 0x3000) {
            out += ' ';
        } else {
            out += ch;
        }
    }
    return out;
}

function readRows(jsonDir, file) {
    const text = fs.readFileSync(path.join(jsonDir, file), 'utf8');
    // JSONP: jQuery_jpostal_callback( [...] );  plain JSON is accepted too.
    const open = text.indexOf('[');
    const close = text.lastIndexOf(']');
    if (open < 0 || close < open) fail(`${file}: no JSON array`);
    let rows;
    try {
        rows = JSON.parse(text.slice(open, close + 1));
    } catch (e) {
        fail(`${file}: ${e.message}`);
    }
    if (!Array.isArray(rows)) fail(`${file}: not an array`);
    return rows;
}

// The info row reads "verX.YY <KEN_ALL file date> <build date>"; the first
// date is the postal list's own date.
function issueDate(infoText) {
    const m = /(\d{4})-(\d{2})-(\d{2})/.exec(infoText || '');
    if (!m) fail(`no date in the package's info row: "${infoText}"`);
    return `${m[1]}-${m[2]}-${m[3]}`;
}

function main() {
    const args = process.argv.slice(2);
    if (args.length !== 2) {
        process.stderr.write('usage: node convert_postal.js PACKAGE_DIR OUT_DIR\n' +
                             '  PACKAGE_DIR: the unpacked jquery-jpostal-ja package (holds json/)\n' +
                             '  OUT_DIR:     where ken_all.tsv and ken_all_version.txt go\n');
        process.exit(2);
    }
    const [packageDir, outDir] = args;
    const jsonDir = path.join(packageDir, 'json');
    if (!fs.existsSync(jsonDir)) fail(`${jsonDir} does not exist`);
    if (!fs.existsSync(outDir)) fail(`${outDir} does not exist`);

    let packageVersion = '?';
    try {
        packageVersion = JSON.parse(fs.readFileSync(path.join(packageDir, 'package.json'), 'utf8')).version;
    } catch (e) {
        // The version only goes into the log line.
    }

    const files = fs.readdirSync(jsonDir).filter((f) => /^\d{3}\.json$/.test(f)).sort();
    if (files.length === 0) fail(`${jsonDir} holds no NNN.json files`);

    let info = null;
    const lines = ['DantaiCode\tZipCode5\tZipCode7\tTodofukenKana\tCity1Kana\tCity2Kana\tTodofukenKanji\tCity1Kanji\tCity2Kanji'];
    let prevPref = null;
    let prevCity = null;
    let residential = 0;
    let offices = 0;
    for (const file of files) {
        for (const row of readRows(jsonDir, file)) {
            if (!Array.isArray(row) || row.length < 9) fail(`${file}: row with fewer than 9 fields: ${JSON.stringify(row)}`);
            const key = String(row[0]);
            if (key === '_000info') {
                info = String(row[2]);
                continue;
            }
            const m = /^_(\d{7})$/.exec(key);
            if (!m) continue; // three-digit summary rows
            if (row[5]) {
                ++offices;
                continue;
            }
            const zip7 = m[1];
            const f = row.map((v) => String(v == null ? '' : v));
            const prefKanji = f[1], cityKanji = f[2], townKanji = f[3];
            const prefKana = toHalfWidthKana(f[6]), cityKana = toHalfWidthKana(f[7]), townKana = toHalfWidthKana(f[8]);
            if (!prefKanji || !cityKanji || !prefKana || !cityKana)
                fail(`${file}: ${zip7} lacks a prefecture or city name`);
            for (const v of [prefKanji, cityKanji, townKanji, prefKana, cityKana, townKana])
                if (/[\t\r\n]/.test(v)) fail(`${file}: ${zip7} has a tab or line break in a name`);
            const samePlace = prevPref !== null && prevPref === prefKanji + '\t' + prefKana &&
                              prevCity === cityKanji + '\t' + cityKana;
            lines.push([
                '',
                zip7.slice(0, 3) + '  ',
                zip7,
                samePlace ? '' : prefKana,
                samePlace ? '' : cityKana,
                townKana,
                samePlace ? '' : prefKanji,
                samePlace ? '' : cityKanji,
                townKanji,
            ].join('\t'));
            prevPref = prefKanji + '\t' + prefKana;
            prevCity = cityKanji + '\t' + cityKana;
            ++residential;
        }
    }
    if (info === null) fail('the package has no info row (_000info) with the list date');
    if (residential < 100000) fail(`only ${residential} residential rows: not the full list`);

    const date = issueDate(info);
    fs.writeFileSync(path.join(outDir, 'ken_all.tsv'), lines.join('\n') + '\n');
    fs.writeFileSync(path.join(outDir, 'ken_all_version.txt'), date + '\n');
    process.stdout.write(`jquery-jpostal-ja ${packageVersion} (${info}): ${residential} residential rows, ` +
                         `${offices} business-office rows left out, list date ${date}\n`);
}

main();
