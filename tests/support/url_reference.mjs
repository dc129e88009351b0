// Reference results for the URL differential test: reads one JSON string per line (from the file named by the
// first argument, or standard input) and writes, per input line, the href as a JSON string, or null when
// `new URL()` rejects the input.
import { readFileSync } from 'node:fs';

const text = readFileSync(process.argv[2] ?? 0, 'utf8');
const out = [];
for (const line of text.split('\n')) {
  if (line === '') continue;
  let href = null;
  try {
    href = new URL(JSON.parse(line)).href;
  } catch {
    // null stands for failure
  }
  out.push(JSON.stringify(href));
}
process.stdout.write(out.join('\n') + (out.length ? '\n' : ''));
