// Serves a built site on 127.0.0.1 until interrupted: node serve.mjs FOLDER [PORT].
import { serveFolder } from "./harness.mjs";

const [folder, port] = process.argv.slice(2);
if (!folder) {
  console.error("usage: node serve.mjs FOLDER [PORT]");
  process.exit(2);
}
const server = await serveFolder(folder, Number(port ?? 8080));
console.log(`Serving ${folder} at ${server.url} (Ctrl+C stops)`);
