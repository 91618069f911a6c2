// A web server for the address query on free 127.0.0.1 ports, one port per behaviour.
// Node's http module answers chunked when no length is set. The first output line names
// the ports: "web-peer: dash P plain P silent P split P headonly P wakes P ...".
const http = require('http');

const behaviours = {
  dash: (res) => { res.write('127.0.0.1 - Testlabor\r\n'); res.end(); },
  plain: (res) => { res.write('127.0.0.2\r\n'); res.end(); },
  silent: () => {},
  // The header goes out first, the body a good while later.
  split: (res) => { res.flushHeaders(); setTimeout(() => { res.write('127.0.0.3 - spaet\r\n'); res.end(); }, 400); },
  // A header without its empty line, then the connection closes.
  headonly: (res) => { res.socket.end('HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n'); },
  // The first request is never answered, every later one like dash.
  wakes: (res) => { if (wakesAsked++ > 0) behaviours.dash(res); },
  // With a length and the connection kept open: the body ends before the connection does.
  length: (res) => { res.end('127.0.0.4 - mit Laenge\r\n'); },
  // Neither length nor chunks: the body ends when the server closes.
  closeend: (res) => { res.socket.end('HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n127.0.0.5 - bis zum Ende'); },
  // A proxy's error page, chunked.
  gateway: (res) => {
    res.statusCode = 502;
    res.setHeader('Content-Type', 'text/html');
    res.write('<html>\r\n<head><title>502 Bad Gateway</title></head>\r\n<body>nginx</body>\r\n</html>\r\n');
    res.end();
  },
  // An address behind 100 kB of header.
  padded: (res) => { res.setHeader('X-Padding', 'a'.repeat(100000)); res.write('127.0.0.6\r\n'); res.end(); },
  // A first body line of 4 MB.
  megabytes: (res) => { res.write('1'.repeat(4 << 20)); res.end(); },
};
let wakesAsked = 0;

const ports = {};
const names = Object.keys(behaviours);
let listening = 0;
for (const name of names) {
  const server = http.createServer((req, res) => {
    res.setHeader('Content-Type', 'text/plain');
    behaviours[name](res);
  });
  server.listen(0, '127.0.0.1', () => {
    ports[name] = server.address().port;
    if (++listening === names.length)
      console.log('web-peer: ' + names.map((n) => n + ' ' + ports[n]).join(' '));
  });
}
process.on('SIGTERM', () => process.exit(0));
