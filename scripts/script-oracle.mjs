#!/usr/bin/env node
// Writes tests/data/script_oracle.tsv: random expressions over the alphabet
// of the calculator's two modes (digits, . + - * / ^ ( ) % , blanks and
// Math.name), each evaluated by an independent ECMAScript engine (Node.js,
// sloppy mode) with the Math members later than ECMAScript 3 removed and a
// fresh global object for every expression. Where ECMAScript 3 and today's
// language differ (the ** operator, regular-expression literals, which
// gained syntax since), the expression is left out.
//
// Columns: expression, answer text, kind. The answer text follows the
// evaluator's own rules: an infinity is "1e999" / "-1e999", NaN "NaN",
// undefined and failures the empty text. Kind is number, text, undefined or
// fail.
//
// Usage: node scripts/script-oracle.mjs [count] > tests/data/script_oracle.tsv
import vm from 'node:vm';

const count = Number(process.argv[2] ?? 4000);

// A small seeded generator, so that the table can be regenerated exactly.
let seed = 0x5eed2024;
function random() {
  seed = (seed + 0x6d2b79f5) | 0;
  let t = seed;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}
const pick = (list) => list[Math.floor(random() * list.length)];
const chance = (p) => random() < p;

const kCalculatorFunctions = ['pow', 'sqrt', 'abs', 'log', 'exp', 'sin',
  'cos', 'tan', 'asin', 'acos', 'atan'];
const kOtherMembers = ['floor', 'ceil', 'round', 'max', 'min', 'atan2', 'PI',
  'E', 'LN2', 'SQRT2'];
const kLaterMembers = ['log10', 'log2', 'cbrt', 'trunc', 'sign', 'hypot',
  'sqrt9', 'pow2', 'x'];
const kOperators = ['+', '-', '*', '/', '%', '^'];

function number() {
  switch (Math.floor(random() * 10)) {
    case 0: return String(Math.floor(random() * 10));
    case 1: return String(Math.floor(random() * 1000));
    case 2: return `${Math.floor(random() * 100)}.${Math.floor(random() * 1000)}`;
    case 3: return `.${Math.floor(random() * 100)}`;
    case 4: return `${Math.floor(random() * 100)}.`;
    case 5: return pick(['007', '010', '017', '00', '08', '019', '08.5',
      '019.25', '0777', '010.5', '00.5', '0.5']);
    case 6: return String(Math.floor(random() * 2 ** 33));
    case 7: return pick(['0.1', '0.000001', '0.0000001', '123456789012345678901',
      '4294967296', '2147483648', '1.5', '2.5']);
    default: return String(Math.floor(random() * 20));
  }
}

function expression(depth) {
  if (depth <= 0) return number();
  switch (Math.floor(random() * 12)) {
    case 0:
    case 1:
    case 2:
      return `${expression(depth - 1)}${pick(kOperators)}${expression(depth - 1)}`;
    case 3:
      return `(${expression(depth - 1)})`;
    case 4:
      return `${pick(['-', '+'])}${expression(depth - 1)}`;
    case 5:
    case 6: {
      const name = chance(0.8) ? pick(kCalculatorFunctions)
          : chance(0.6) ? pick(kOtherMembers) : pick(kLaterMembers);
      const args = [];
      const n = name === 'pow' || name === 'atan2' ? (chance(0.8) ? 2 : pick([0, 1, 3]))
          : (chance(0.85) ? 1 : pick([0, 2]));
      for (let i = 0; i < n; ++i) args.push(expression(depth - 1));
      return `Math.${name}(${args.join(',')})`;
    }
    case 7:
      return `Math.${pick([...kCalculatorFunctions, ...kOtherMembers,
        ...kLaterMembers])}`;
    case 8:
      return `${expression(depth - 1)}${pick(kOperators)}(${expression(depth - 1)})`;
    default:
      return number();
  }
}

// Damage an expression the way a sanitizer's leftovers look: a character
// dropped, doubled or added.
const kAlphabet = '0123456789.+-*/^()%, ';
function mutate(text) {
  const i = Math.floor(random() * (text.length + 1));
  switch (Math.floor(random() * 4)) {
    case 0: return text.slice(0, i) + text.slice(i + 1);
    case 1: return text.slice(0, i) + text.slice(i, i + 1) + text.slice(i);
    case 2: return text.slice(0, i) + pick(kAlphabet) + text.slice(i);
    default: return text.slice(0, i) + '//' + text.slice(i);
  }
}

// A "/" where an operand is expected begins a regular-expression literal;
// such expressions are left out, as is the ** operator.
function comparable(text) {
  if (text.includes('**')) return false;
  if (/(^|[-+*\/^(%,.~!])\s*\/(?![\/*])/.test(text)) return false;
  return text.length <= 120;
}

const kLaterMath = ['log10', 'log2', 'log1p', 'expm1', 'cosh', 'sinh', 'tanh',
  'acosh', 'asinh', 'atanh', 'trunc', 'sign', 'cbrt', 'hypot', 'clz32',
  'fround', 'imul'];

function answer(text) {
  const context = vm.createContext({});
  vm.runInContext(kLaterMath.map((m) => `delete Math.${m};`).join(''), context);
  let value;
  try {
    value = vm.runInContext(text, context);
  } catch {
    return ['', 'fail'];
  }
  switch (typeof value) {
    case 'undefined':
      return ['', 'undefined'];
    case 'number':
      if (value === Infinity) return ['1e999', 'number'];
      if (value === -Infinity) return ['-1e999', 'number'];
      return [String(value), 'number'];
    default:
      return [String(value), 'text'];
  }
}

const seen = new Set();
const rows = [];
while (rows.length < count) {
  let text = expression(1 + Math.floor(random() * 4));
  if (chance(0.35)) text = mutate(text);
  if (chance(0.1)) text = mutate(text);
  if (seen.has(text) || !comparable(text)) continue;
  seen.add(text);
  const [result, kind] = answer(text);
  if (/[\t\n\r]/.test(text) || /[\t\n\r]/.test(result)) continue;
  rows.push(`${text}\t${result}\t${kind}`);
}
process.stdout.write(rows.join('\n') + '\n');
